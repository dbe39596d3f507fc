// Index files over a game database: the main index (one record per selected game) and the
// white and black position indexes (one record per game and seat of a listed player, with
// every position in which that player was to move).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database/progress.h"
#include "game/game.h"

namespace tandemora {

enum IndexRecordKind { kMainRecords = 0, kSeatRecords = 1 };
enum IndexColour { kWhiteSeats = 0, kBlackSeats = 1 };

// A seat record holds at most this many positions; the count is kept in 16 bits.
constexpr int kMaxSeatPositions = 32767;

struct IndexSettings {
    std::string indexPath;     // the main index; the white and black indexes append "WP" and "BP"
    std::string databaseName;  // the database as the headers name it, without its folder
    std::string databasePath;  // the database file that is read
    int type = 0;              // 0 Bughouse, 1 Crazyhouse: a label, games of both kinds are indexed
    int averageMin = 0;        // 0 switches each rating threshold off
    int minimumMin = 0;
    int playerRatingMin = 0;
    std::vector<std::string> players;  // "*" stands for every player
    // Offsets into an index file are 32-bit: its records may not pass this many bytes.
    int32_t maxDataSize = INT32_MAX;
    // The user agreed to have existing files that are no index files written over.
    bool overwriteOtherFiles = false;
};

// What stands at the paths an index is to be written to. Index files are written over; the
// database itself and anything that is no regular file never are; other files only once the
// user agreed (IndexSettings::overwriteOtherFiles).
struct IndexTargets {
    std::string database;                 // the path that is the database itself, under any name
    std::string notRegular;               // a path that holds a folder, a device or the like
    std::vector<std::string> otherFiles;  // existing files that are no index files
};

// Looks at what stands at the main, white and black index paths of `settings`.
IndexTargets checkIndexTargets(const IndexSettings& settings);

// The player names typed into the index dialog, split at commas and blanks; an empty list when
// none is left, with the message to show in `message`.
std::vector<std::string> splitPlayerList(const std::string& text, std::string& message);

// The path of the index file of a kind and colour: the main path, + "WP" or + "BP".
std::string indexFilePath(const std::string& mainPath, int kind, int colour);

// Year * 10000 + month * 100 + day of a "year.month.day" Date tag, a year below 50 counted from
// 2000 and one from 50 to 99 from 1900; 0 for a text that does not hold three numbers.
int32_t indexDate(const std::string& dateTag);

// Appends the record of one seat of a replayed game to `buffer`: 'A' white on board A, 'a' black
// on board A, 'B' and 'b' the same on board B (bughouse only). Returns its length.
int writeSeatRecord(char seat, const CGame& game, int32_t databaseOffset, std::string& buffer);

// Writes one index file (the main index, or the seat index of a colour) at
// indexFilePath(settings.indexPath, kind, colour), reading the whole database; every message goes
// to `progress`. The file is written under a temporary name and takes the place of the old one
// only when complete. False when the database or the file could not be opened or written, the
// path may not be written (checkIndexTargets), or `progress` asked to stop.
bool writeIndexFile(int kind, int colour, const IndexSettings& settings, ProgressReporter& progress,
                    int& recordsWritten, int& gamesFailed);

// Writes the main, white and black indexes in one pass over the database, then reports
// "Index creation successful, ..."; false when a file could not be written, a path may not be
// (checkIndexTargets), or `progress` asked to stop. The three files replace the old ones only
// once all three are complete.
bool createIndexFiles(const IndexSettings& settings, ProgressReporter& progress);

}  // namespace tandemora

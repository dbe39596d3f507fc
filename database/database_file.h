// The game database: one file of BPGN game texts, each wrapped in its length before and
// after, behind a count of the games. All integers are 32-bit signed little-endian, so no
// record may end past 2^31 - 1 bytes.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "database/progress.h"
#include "game/game.h"

namespace tandemora {

// Longest game text the sequential reader takes; longer records are skipped with a message.
constexpr int32_t kMaxSequentialGameText = 2000000;

// Cuts one BPGN text into games and appends a record for each; the number of records written,
// or -1 when writing failed. A CR LF of the source is stored as LF. Before a record that would
// end past the largest offset, it stops and sets `databaseFull`; what it wrote stays complete.
// It also stops after any game once `progress` asks it to, leaving the source short of its end.
int addSingleFileToDatabase(std::istream& source, std::ostream& database, bool& databaseFull,
                            const ProgressReporter* progress = nullptr);

// Merges every ".bpgn" file of `folder` (also compressed, ".bpgn.bz2" and ".bpgn.gz") but the
// database itself into the database at `databasePath` (new or existing), in the order of their
// names, with every message of the build reported; true when all games were added. A file that
// is damaged or cannot be read to its end undoes the whole build. What follows the records an existing database counts (left by a build that
// ended abnormally) is cut off first; a failed write leaves the file as it was before the build.
// Asked to stop, it ends after the game being added and counts the games written so far.
bool buildDatabase(std::string folder, const std::string& databasePath, ProgressReporter& reporter);

// Opens a database for binary reading; null when it is no regular file or cannot be opened.
std::unique_ptr<std::istream> openDatabaseForReading(const std::string& path);

// Reads the record at the current position and replays its game into a move tree; null at the
// end of the database (the stream has then failed, and is also bad when the record there is
// damaged) or for a game skipped or not parsable (the stream stands at the next record).
std::unique_ptr<CGame> readNextDatabaseGame(std::istream& database, ProgressReporter* reporter);

// Reads the record at a database offset into a game (tags and move text, no tree) whose database
// offset is set; null on any failure. The stream then stands at the next record.
std::unique_ptr<CGame> readDatabaseGameAt(std::istream& database, int32_t offset);

// Appends up to before + after + 1 games around the one at `offset` to `list`, in file order;
// true when the list is not empty, false when readDatabaseGameAt finds no game at `offset`.
// Fewer games before the given one mean more after it.
bool retrieveNearbyGames(std::istream& database, int before, int after, int32_t offset,
                         std::vector<std::unique_ptr<CGame>>& list);

}  // namespace tandemora

// The Edit menu: the active game's position and the game itself onto the clipboard as text, and
// games pasted from it.
#pragma once

#include <string>

class QString;

namespace tandemora {

class CGame;
class CTandemoraApp;

// The position a shown game stands at, as one line: each board's FEN with its pocket, en
// passant square and move counters (the form an engine reads), the full-move number being the
// board's own; a bughouse game gives "FEN A | FEN B".
std::string positionText(const CGame& game);

// Clipboard text as the bytes games are made of: Latin-1, '?' for a character beyond it, and
// no byte order marks.
std::string clipboardBytes(const QString& text);

void copyPosition(const CGame& game);
// The game as Save writes it.
void copyGame(CGame& game);
// Opens the clipboard's text as a new unsaved game list, through the reader or the importer;
// a clipboard without text is reported and nothing else happens.
void pasteGame(CTandemoraApp& app);

}  // namespace tandemora

// The program's message and question boxes, all titled "Tandemora".
#pragma once

#include <string>

class QString;
class QWidget;

namespace tandemora {

// A text of the program's own is Latin-1, as game texts are; one that names a file is made as a
// QString, the file name decoded as the file system's (fileNameText).
void showMessageBox(QWidget* parent, const std::string& text);
void showMessageBox(QWidget* parent, const QString& text);
inline void showMessageBox(QWidget* parent, const char* text) { showMessageBox(parent, std::string(text)); }

enum class Answer { kYes, kNo, kCancel };

// Yes, No and Cancel; closing the box answers Cancel.
Answer askYesNoCancel(QWidget* parent, const std::string& text);
Answer askYesNoCancel(QWidget* parent, const QString& text);
inline Answer askYesNoCancel(QWidget* parent, const char* text) { return askYesNoCancel(parent, std::string(text)); }

// Yes and No, No the default; closing the box answers No.
bool askYesNo(QWidget* parent, const std::string& text);
bool askYesNo(QWidget* parent, const QString& text);
inline bool askYesNo(QWidget* parent, const char* text) { return askYesNo(parent, std::string(text)); }

}  // namespace tandemora

// The program's message and question boxes, all titled "Tandemora".
#pragma once

#include <string>

class QWidget;

namespace tandemora {

void showMessageBox(QWidget* parent, const std::string& text);

enum class Answer { kYes, kNo, kCancel };

// Yes, No and Cancel; closing the box answers Cancel.
Answer askYesNoCancel(QWidget* parent, const std::string& text);

// Yes and No, No the default; closing the box answers No.
bool askYesNo(QWidget* parent, const std::string& text);

}  // namespace tandemora

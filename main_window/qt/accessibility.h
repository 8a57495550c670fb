#pragma once

class QLabel;

namespace tornevo::accessibility {

// Installs the accessible interfaces of Tornevo's own: the text boxes read whole, and the
// answer box as a notification. Call once a QApplication exists; later calls do nothing.
void InstallInterfaces();

// Tells a screen reader that a new answer is on show, so that it speaks the answer box's
// name once, without the focus moving.
void AnnounceAnswer(QLabel* answer);

} // namespace tornevo::accessibility

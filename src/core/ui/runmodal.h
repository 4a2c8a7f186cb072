#pragma once

#include <QDialog>

#include <functional>

// How a window opens the modal windows it leads to. The program runs them with exec(); tests pass a
// function that drives the window and returns.
namespace qm {

using RunModal = std::function<void(QDialog&)>;

inline void execModal(QDialog& dialog) {
    dialog.exec();
}

} // namespace qm

#pragma once
// The application that commands measuring or describing fonts need: fonts come from the
// platform's font database, which only a QGuiApplication opens. kavtool never shows a window,
// so it is always the offscreen platform; a display that is missing or refused cannot stop it.

#include <QGuiApplication>

#include <memory>

namespace kav {

// Nothing when a QGuiApplication already runs (a test in the same process, say).
std::unique_ptr<QGuiApplication> FontApplication();

} // namespace kav

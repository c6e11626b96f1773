// For measuring the start: with ROSTELLE_BENCH_END_AT_FIRST_PAINT set in the environment, the
// program ends at once after the main window has been painted for the first time, so that a
// whole-process timer reads the time from launch to a visible window (bench/startup.sh).
#pragma once

class QWidget;

namespace commands {

void endAtFirstPaintIfAsked(QWidget& window);

}  // namespace commands

#pragma once
// A by-hand measuring aid, off unless the environment variable
// CORVEXO_STALL_LOG names a file: the window then writes to it, one line each,
// when it is first shown ("shown <ms>"), every caption ("title <ms> <text>"),
// and every event-loop stall longer than 20 ms ("stall <ms> <length ms>").
// <ms> is the wall clock in milliseconds since 1970, so that a script can set
// the lines beside its own clock (bench/window_bench.py).

class QWidget;

namespace corvexo {

void startStallLogIfAsked(QWidget *window);

} // namespace corvexo

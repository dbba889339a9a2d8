// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Waits the given number of seconds while the window events that arrive in
// the meantime keep being handled, so the interface stays alive. A wait of
// zero or less returns at once and handles nothing.
void Pause(float seconds);

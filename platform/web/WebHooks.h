// What the browser page and its tests can read of the running program:
// counters kept by the platform layer, exported to JavaScript as
// Module._skyreel_updates() and the like.
#pragma once

// One game update has run.
void NoteWebUpdate();
// Sound effect n was handed to the mixer; the page's Module.onEffect(n),
// when it has one, hears of it.
void NoteWebEffect(int n);
// Music n was started.
void NoteWebMusic(int n);

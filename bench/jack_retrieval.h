#pragma once

// Times the 68-block retrieval over real JACK ports and prints one line;
// returns 0 when every block arrived (or no server runs).
int RunJackRetrieval();
// Retrieve > All Multis after the instrument went away; 0 when within its bound.
int RunJackGone();

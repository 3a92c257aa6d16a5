#pragma once

class AppContext;

// Presses the presentation player's close button as the other windows do: the player
// (loaded by the reference if it is not open) is shown above the screen at Top -2000,
// pending events run twice, and its close button is pressed. The caller lets events run
// afterwards as its own sequence says. Nothing happens when no player is built in.
void pressPlayerClose(AppContext& ctx);

// Tags the screen layouts give to the panels the game fits around their contents (the
// "tag" lines of assets/ccbi); the code finds each panel by its tag in its parent.
#pragma once

// game-gui: the message panel, a child of "castgui".
constexpr int kMessagePanelTag = 1;
// game-gui: the pinned tutorial text's panel.
constexpr int kTutorialPanelTag = 2;
// game-gui: the full-screen text's panel.
constexpr int kFullscreenPanelTag = 3;
// build-sequence-element: the selection bar header's panel.
constexpr int kHeaderPanelTag = 1;

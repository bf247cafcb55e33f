// Every subsystem's state that outlives one window, and the one reset that puts all of it back
// to the values the process starts with, so a test case meets the state a new process has.
#pragma once

#include "image/snapshot.h"
#include "render/render_state.h"
#include "scene/scene_state.h"
#include "shell/shell_state.h"

// Puts the shell's, the renderer's, the scene's and the snapshot writer's state back.
inline void resetProcessState()
{
    shellState = ShellState();
    renderState = RenderState();
    sceneState = SceneState();
    snapshotState = SnapshotState();
}

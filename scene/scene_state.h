// The drift scene's process-wide state: which scene reborn discs read their parameters from.
#pragma once

class DriftScene;

struct SceneState {
    // The most recently constructed drift scene; null when there is none.
    DriftScene *driftScene = nullptr;
};

// The scene's state in this process.
inline SceneState sceneState;

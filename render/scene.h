// The content a Kaleidoscope replicates: ten operations, each with a default a scene may keep.
#pragma once

class Kaleidoscope;

class Scene {
public:
    explicit Scene(Kaleidoscope *owner) : kaleidoscope(owner) {}
    virtual ~Scene() = default;  // renderers, and so scenes, are released after every window

    // Once, after the renderer has created the scene.
    virtual void start() {}
    // Every frame, after the clock tick.
    virtual void update() {}
    // Once per drawn wedge, in the wedge's frame.
    virtual void drawContent() {}
    // Before any wedge; mainPass is 1 on the visible pass, 0 on the feedback capture. A scene
    // that tests depth leaves GL_DEPTH_TEST on at the end of its frame: a frame that starts with
    // it off clears no depth.
    virtual void beginFrame(int mainPass) { (void)mainPass; }
    // After all wedges.
    virtual void endFrame() {}
    // Whether the wedges are clipped to their planes.
    virtual bool usesClipPlanes() { return true; }
    // Whether the scene draws on top of its previous frames (front buffer, depth-only clear).
    virtual bool drawsIncrementally() { return false; }
    // Asked by nothing; kept so every scene answers the same ten questions.
    virtual bool reservedQuery() { return true; }
    // Whether the feedback blur is laid over the picture.
    virtual bool wantsFeedback() { return false; }
    // Whether every second wedge may be mirrored.
    virtual bool allowsMirrors() { return true; }

    Kaleidoscope *kaleidoscope;
};

// The scene of that kind bound to the renderer, or null for an unknown kind.
Scene *createScene(int kind, Kaleidoscope *kaleidoscope);

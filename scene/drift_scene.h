// The drift scene: 100 discs over a turning gradient and zooming clouds, sharing a few animation
// parameters (size, spin, aspect, atlas cell) that re-roll and ease every so many rebirths.
#pragma once

#include "image/image_record.h"
#include "platform/gl.h"
#include "render/scene.h"
#include "scene/disc.h"

#include <cstdint>

const int kDiscCount = 100;

class DriftScene : public Scene {
public:
    // Builds the scene for the renderer and starts every run on the 12-wedge pattern.
    explicit DriftScene(Kaleidoscope *owner);
    ~DriftScene() override;

    // Loads the three masks and creates the discs, their phases 1 / 99 apart from 0 to 1.
    void start() override;
    // Advances every disc.
    void update() override;
    // Draws every disc in the current wedge: replays the discs recorded for this frame.
    void drawContent() override;
    // Draws the backdrop and sets the GL up for the discs.
    void beginFrame(int mainPass) override;
    // Undoes what beginFrame left for the discs.
    void endFrame() override;

    // Records the discs as they stand, once per wedge loop, for every wedge to replay; those
    // wholly beyond a clip plane of the pass are left out.
    void recordDiscs();
    // Counts one rebirth; re-rolls the shared parameters when the period is up, then eases them.
    void tickParameters();

    Disc *discs = nullptr;
    float size = 0;    // base disc size, 0.001...1
    float spin = 0;    // base spin, degrees per life, 0...1400
    float aspect = 0;  // half-height of every disc quad
    int32_t rerollCount = 0;
    int32_t rerollPeriod = 0;  // rebirths between re-rolls
    uint8_t uniform = 0;       // reborn discs take the shared values as they are
    float sizeStart = 0, spinStart = 0, aspectStart = 0;
    float sizeChange = 0, spinChange = 0, aspectChange = 0;
    int32_t discCell = 0;
    int32_t cellCount = 0;
    ImageRecord *images = nullptr;  // disc atlas, clouds, logo
    uint8_t started = 0;
    GLuint discList = 0;  // display list of this frame's discs; 0 when the GL gave none
};

// The most recently constructed drift scene, whose parameters reborn discs read.
DriftScene *currentDriftScene();

// The angle, in degrees within one turn, of a layer turning at that rate for that long.
float turnAngle(double seconds, double degreesPerSecond);

// One cloud layer at phase p of its five-second zoom cycle.
struct CloudLayer {
    double alpha;
    double width;   // s extent of the texture window
    double height;  // t extent
};
CloudLayer cloudLayerAt(double p);
// Scale of the cloud layers for a viewport: wide and tall windows of one ratio scale alike.
double cloudScale(int width, int height);
// Texels of the layer's window of that image per pixel of a viewport, along the denser direction.
double cloudTexelsPerPixel(const CloudLayer &layer, const ImageRecord &image, int width,
                           int height);
// Texels per pixel at or below which the cloud layers are drawn without their mipmaps: magnified
// with room to spare, as the GL may estimate a turned quad's texel step up to 1.41 times too large.
const double kSurelyMagnified = 0.5;

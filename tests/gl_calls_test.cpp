// The GL calls one frame makes: a frame of the drift scene at 24 wedges stays within its budget.
// This binary alone defines the GL's entry points that the program calls: each counts the call
// and hands it on to the real GL library, which draws as it always does. Linked statically, the
// renderer's calls reach these definitions; the shipped program has none of them.
#include "support/gl_window_test.h"

#include "scene/drift_scene.h"

#include <dlfcn.h>

namespace {

// GL calls made since the count was last reset.
long glCalls = 0;

// The real GL library's function of that name.
template <typename Function> Function realGL(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// At most this many GL calls for a whole frame at 24 wedges: the discs are placed once per frame
// and drawn as one draw per wedge, where one draw per disc would be over 40,000 calls.
const long kFrameBudget = 2000;
const int kWidestPattern = 7;  // 24 wedges

// Counts a call and hands it on to the real function of that name, arguments and result as they
// are.
template <const char *name, typename Function> struct Counted;
template <const char *name, typename Result, typename... Args>
struct Counted<name, Result APIENTRY(Args...)> {
    // The counting stand-in for the function.
    static Result APIENTRY call(Args... args)
    {
        ++glCalls;
        static const auto real = realGL<Result(APIENTRY *)(Args...)>(name);
        return real(args...);
    }
};

}  // namespace

// Every GL and GLU function the program calls, counted and handed on (gl_entry_points.sh checks
// that none is missing). The GL calls GLU makes inside its own functions are not counted: a GLU
// call counts as one. Each is a jump to its counting stand-in, whose parameters are those the GL
// headers declare (x86-64).
#ifndef __x86_64__
#error "the counted entry points are x86-64 jumps"
#endif
#define COUNTED(name)                                                                         \
    static constexpr char name##Name[] = #name;                                               \
    extern "C" decltype(&::name) const name##Counted =                                        \
        &Counted<name##Name, decltype(::name)>::call;                                         \
    asm(".globl " #name "\n.type " #name ", @function\n" #name ": jmp *" #name "Counted(%rip)");
COUNTED(glBegin) COUNTED(glBindTexture) COUNTED(glBlendFunc) COUNTED(glCallList) COUNTED(glClear)
COUNTED(glClearColor) COUNTED(glClearDepth) COUNTED(glClipPlane) COUNTED(glColor3f)
COUNTED(glColor4f) COUNTED(glColor4fv) COUNTED(glCopyTexImage2D) COUNTED(glCullFace)
COUNTED(glDeleteLists) COUNTED(glDepthFunc) COUNTED(glDisable) COUNTED(glDrawBuffer)
COUNTED(glEnable) COUNTED(glEnd) COUNTED(glEndList) COUNTED(glFlush) COUNTED(glFrontFace)
COUNTED(glGenLists) COUNTED(glGenTextures) COUNTED(glGetIntegerv) COUNTED(glGetString)
COUNTED(glGetTexParameteriv) COUNTED(glHint) COUNTED(glIsEnabled) COUNTED(glLoadIdentity)
COUNTED(glMatrixMode) COUNTED(glNewList) COUNTED(glNormal3f) COUNTED(glOrtho) COUNTED(glPixelStorei)
COUNTED(glPopMatrix) COUNTED(glPushMatrix) COUNTED(glReadPixels) COUNTED(glRotatef)
COUNTED(glScalef) COUNTED(glTexCoord2f) COUNTED(glTexEnvf) COUNTED(glTexImage2D)
COUNTED(glTexParameterf) COUNTED(glTexParameteri) COUNTED(glTranslatef) COUNTED(glVertex2d)
COUNTED(glVertex3f) COUNTED(glViewport) COUNTED(gluBuild2DMipmaps) COUNTED(gluLookAt)
COUNTED(gluPerspective)

namespace {

class GLCalls : public GLWindowTest {};

TEST_F(GLCalls, AFrameAtTwentyFourWedgesStaysWithinItsBudget)
{
    Kaleidoscope &k = openRendererAt(64, 48, 0.0);
    k.selectPattern(kWidestPattern, false);
    k.renderFrame(kMirrorsRequested);  // the first frame of a context may set up more
    setSeconds(0.5);
    glCalls = 0;
    k.renderFrame(kMirrorsRequested);
    const long frameCalls = glCalls;
    ASSERT_EQ(k.wedgeForFrame().count, 24);
    ASSERT_TRUE(k.mirrorsOn);
    // The count sees the frame: at least a clear, a camera and the wedge loop's 24 draws.
    EXPECT_GT(frameCalls, 24 * 2);
    EXPECT_LE(frameCalls, kFrameBudget) << frameCalls << " GL calls";
    RecordProperty("gl_calls", static_cast<int>(frameCalls));
    // The picture is drawn: discs over the gradient, not an empty frame.
    const std::vector<unsigned char> pixels = readPixels(64, 48);
    long sum = 0;
    for (unsigned char v : pixels)
        sum += v;
    EXPECT_GT(sum, 0);
}

}  // namespace

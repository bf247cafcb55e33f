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

}  // namespace

// Every GL and GLU function the program calls, counted and handed on (gl_entry_points.sh checks
// that none is missing). The GL calls GLU makes inside its own functions are not counted: a GLU
// call counts as one.
#define COUNTED(result, name, params, args)                                 \
    extern "C" result name params                                           \
    {                                                                       \
        ++glCalls;                                                          \
        static const auto real = realGL<result(APIENTRY *) params>(#name);  \
        return real args;                                                   \
    }
COUNTED(void, glBegin, (GLenum a), (a))
COUNTED(void, glBindTexture, (GLenum a, GLuint b), (a, b))
COUNTED(void, glBlendFunc, (GLenum a, GLenum b), (a, b))
COUNTED(void, glCallList, (GLuint a), (a))
COUNTED(void, glClear, (GLbitfield a), (a))
COUNTED(void, glClearColor, (GLclampf a, GLclampf b, GLclampf c, GLclampf d), (a, b, c, d))
COUNTED(void, glClearDepth, (GLclampd a), (a))
COUNTED(void, glClipPlane, (GLenum a, const GLdouble *b), (a, b))
COUNTED(void, glColor3f, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))
COUNTED(void, glColor4f, (GLfloat a, GLfloat b, GLfloat c, GLfloat d), (a, b, c, d))
COUNTED(void, glColor4fv, (const GLfloat *a), (a))
COUNTED(void, glCopyTexImage2D,
        (GLenum a, GLint b, GLenum c, GLint d, GLint e, GLsizei f, GLsizei g, GLint h),
        (a, b, c, d, e, f, g, h))
COUNTED(void, glCullFace, (GLenum a), (a))
COUNTED(void, glDeleteLists, (GLuint a, GLsizei b), (a, b))
COUNTED(void, glDepthFunc, (GLenum a), (a))
COUNTED(void, glDisable, (GLenum a), (a))
COUNTED(void, glDrawBuffer, (GLenum a), (a))
COUNTED(void, glEnable, (GLenum a), (a))
COUNTED(void, glEnd, (), ())
COUNTED(void, glEndList, (), ())
COUNTED(void, glFlush, (), ())
COUNTED(void, glFrontFace, (GLenum a), (a))
COUNTED(GLuint, glGenLists, (GLsizei a), (a))
COUNTED(void, glGenTextures, (GLsizei a, GLuint *b), (a, b))
COUNTED(void, glGetIntegerv, (GLenum a, GLint *b), (a, b))
COUNTED(const GLubyte *, glGetString, (GLenum a), (a))
COUNTED(void, glGetTexParameteriv, (GLenum a, GLenum b, GLint *c), (a, b, c))
COUNTED(void, glHint, (GLenum a, GLenum b), (a, b))
COUNTED(GLboolean, glIsEnabled, (GLenum a), (a))
COUNTED(void, glLoadIdentity, (), ())
COUNTED(void, glMatrixMode, (GLenum a), (a))
COUNTED(void, glNewList, (GLuint a, GLenum b), (a, b))
COUNTED(void, glNormal3f, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))
COUNTED(void, glOrtho, (GLdouble a, GLdouble b, GLdouble c, GLdouble d, GLdouble e, GLdouble f),
        (a, b, c, d, e, f))
COUNTED(void, glPixelStorei, (GLenum a, GLint b), (a, b))
COUNTED(void, glPopMatrix, (), ())
COUNTED(void, glPushMatrix, (), ())
COUNTED(void, glReadPixels,
        (GLint a, GLint b, GLsizei c, GLsizei d, GLenum e, GLenum f, GLvoid *g),
        (a, b, c, d, e, f, g))
COUNTED(void, glRotatef, (GLfloat a, GLfloat b, GLfloat c, GLfloat d), (a, b, c, d))
COUNTED(void, glScalef, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))
COUNTED(void, glTexCoord2f, (GLfloat a, GLfloat b), (a, b))
COUNTED(void, glTexEnvf, (GLenum a, GLenum b, GLfloat c), (a, b, c))
COUNTED(void, glTexImage2D,
        (GLenum a, GLint b, GLint c, GLsizei d, GLsizei e, GLint f, GLenum g, GLenum h,
         const GLvoid *i),
        (a, b, c, d, e, f, g, h, i))
COUNTED(void, glTexParameterf, (GLenum a, GLenum b, GLfloat c), (a, b, c))
COUNTED(void, glTexParameteri, (GLenum a, GLenum b, GLint c), (a, b, c))
COUNTED(void, glTranslatef, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))
COUNTED(void, glVertex2d, (GLdouble a, GLdouble b), (a, b))
COUNTED(void, glVertex3f, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))
COUNTED(void, glViewport, (GLint a, GLint b, GLsizei c, GLsizei d), (a, b, c, d))
COUNTED(GLint, gluBuild2DMipmaps,
        (GLenum a, GLint b, GLsizei c, GLsizei d, GLenum e, GLenum f, const void *g),
        (a, b, c, d, e, f, g))
COUNTED(void, gluLookAt,
        (GLdouble a, GLdouble b, GLdouble c, GLdouble d, GLdouble e, GLdouble f, GLdouble g,
         GLdouble h, GLdouble i),
        (a, b, c, d, e, f, g, h, i))
COUNTED(void, gluPerspective, (GLdouble a, GLdouble b, GLdouble c, GLdouble d), (a, b, c, d))

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

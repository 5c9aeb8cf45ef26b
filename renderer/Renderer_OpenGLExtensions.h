#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

namespace Renderer
{

// Entry points beyond OpenGL 1.1, looked up by name whenever a context
// becomes current. One the driver lacks stays null; users test before
// calling.
struct OpenGLExtensions
{
    static PFNGLACTIVETEXTUREARBPROC activeTexture;
    static PFNGLCLIENTACTIVETEXTUREARBPROC clientActiveTexture;
    static PFNGLSECONDARYCOLORPOINTEREXTPROC secondaryColorPointer;

    static void Fill();
};

} // namespace Renderer

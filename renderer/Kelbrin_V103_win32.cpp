#include "Kelbrin_V103.h"

#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

namespace Kelbrin {

std::uint32_t CreateTexture(std::uint16_t width, std::uint16_t height, const std::uint8_t* pixels) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Not a mipmap filter: drawing samples the full-size level only.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // GLU scales sides that are not powers of two, so the picture fills the
    // whole texture rather than being padded.
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    return name;
}

} // namespace Kelbrin

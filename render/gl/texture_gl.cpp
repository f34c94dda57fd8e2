// Pictures into textures: the decoded rows go up as a mipmapped texture
// whose level 0 is the picture itself, so a sprite drawn at its natural size
// shows the picture's own pixels, whatever the picture's size. A picture
// drawn no smaller than itself samples level 0 alone (GL_LINEAR), which is
// what the mipmapped filter gives it there, at a fraction of the cost on a
// software renderer; one drawn smaller samples its mipmaps.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "render/gl/texture_filters.h"
#include "render/sprite_sheet.h"
#include "render/tga_image.h"

namespace {

bool isPowerOfTwo(int32_t n) { return n > 0 && (n & (n - 1)) == 0; }

// Textures of any size: OpenGL 2.0 on, or the extension before it.
bool textureSidesMayBeAnySize() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    if (version != nullptr && std::sscanf(version, "%d", &major) == 1 && major >= 2) return true;
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions != nullptr && std::strstr(extensions, "GL_ARB_texture_non_power_of_two") != nullptr;
}

// Every level at the picture's own proportions, each built from the one
// above it, down to 1 by 1: the texture stays complete for the mipmapped
// minification and level 0 keeps every pixel.
void uploadOwnSizeLevels(const TgaImage& image, GLenum format) {
    TgaImage level = image;
    for (GLint n = 0;; ++n) {
        glTexImage2D(GL_TEXTURE_2D, n, static_cast<GLint>(format), level.width, level.height, 0, format,
                     GL_UNSIGNED_BYTE, level.pixels.data());
        if (level.width == 1 && level.height == 1) break;
        level = halveTgaImage(level);
    }
}

// Each picture's filter as last set.
std::unordered_map<GLuint, GLint> minFilters;

}  // namespace

void noteTextureMade(GLuint texture) { minFilters[texture] = GL_LINEAR_MIPMAP_LINEAR; }
void noteTextureGone(GLuint texture) { minFilters.erase(texture); }

void sampleBoundTexture(GLuint texture, bool withMipmaps) {
    const auto known = minFilters.find(texture);
    if (known == minFilters.end()) return;
    const GLint wanted = withMipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
    if (known->second == wanted) return;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, wanted);
    known->second = wanted;
}

int32_t loadTga(const char* path) {
    TgaImage image;
    // A refused or unreadable file makes no texture at all.
    if (decodeTgaFile(path, image) != TGA_OK) return -1;
    const GLenum format = image.channels == 4 ? GL_RGBA : GL_LUMINANCE;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    if (isPowerOfTwo(image.width) && isPowerOfTwo(image.height)) {
        // GLU leaves such a picture at its size; its level 0 is the picture.
        gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(format), image.width, image.height, format,
                          GL_UNSIGNED_BYTE, image.pixels.data());
    } else if (textureSidesMayBeAnySize()) {
        // GLU would scale the picture to a power of two and blur it; a second
        // level 0 at the own size over GLU's levels would leave the texture
        // incomplete. So every level is built here at the picture's proportions.
        uploadOwnSizeLevels(image, format);
    } else {
        // Only powers of two: GLU's scaled levels at least draw the whole picture.
        gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(format), image.width, image.height, format,
                          GL_UNSIGNED_BYTE, image.pixels.data());
    }
    noteTextureMade(texture);
    return static_cast<int32_t>(texture);
}

void releaseTexture(int32_t texture) {
    if (texture < 0) return;
    const GLuint name = static_cast<GLuint>(texture);
    noteTextureGone(name);
    glDeleteTextures(1, &name);
}

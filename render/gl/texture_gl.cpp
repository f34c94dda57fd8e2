// Pictures into textures: the decoded rows go up as a mipmapped texture.
#include <GL/gl.h>
#include <GL/glu.h>

#include "render/sprite_sheet.h"
#include "render/tga_image.h"

int32_t loadTga(const char* path) {
    TgaImage image;
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
    gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(format), image.width, image.height, format,
                      GL_UNSIGNED_BYTE, image.pixels.data());
    return static_cast<int32_t>(texture);
}

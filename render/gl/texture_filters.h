// The minification filter each loaded picture samples with at the moment,
// so a draw changes it only when it must.
#pragma once

#include <GL/gl.h>

// A picture's texture was made with its mipmaps, and samples with them.
void noteTextureMade(GLuint texture);
void noteTextureGone(GLuint texture);
// Sets the texture bound now to sample with its mipmaps or with its top
// level alone, unless it already does. Textures not made by loadTga are
// left as they are.
void sampleBoundTexture(GLuint texture, bool withMipmaps);

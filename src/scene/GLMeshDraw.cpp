#include "CellFlags.h"
#include "GLMesh.h"
#include "GLScene.h"

#include <GL/gl.h>

namespace tesk {

namespace {

/// Uploads the image as a repeating, linearly filtered texture and returns its name; 0 when
/// the image has no usable pixels.
GLuint makeTexture(const ImageBuffer& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() <
            static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
        return 0;
    }
    GLuint texture = 0;
    glEnable(GL_TEXTURE_2D);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Red in the low byte of each pixel is RGBA byte order on a little-endian machine.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image.pixels.data());
    return texture;
}

void setMarkerColour(uint32_t pointFlags) {
    if ((pointFlags & (CELL_HOVER | CELL_IN_BAND)) != 0) {
        glColor3f(0.5f, 1.0f, 0.5f);
    } else if ((pointFlags & CELL_SELECTED) != 0) {
        glColor3f(1.0f, 0.3f, 0.3f);
    } else {
        glColor3f(0.9f, 0.9f, 0.0f);
    }
}

} // namespace

void GLMesh::applyTransform() {
    snapPosition();
    glTranslatef(position.x, position.y, position.z);
    glRotatef(angles.x, 1.0f, 0.0f, 0.0f);
    glRotatef(angles.y, 0.0f, 1.0f, 0.0f);
    glRotatef(angles.z, 0.0f, 0.0f, 1.0f);
    glScalef(scale.x, scale.y, scale.z);
}

void GLMesh::draw(const GLScene& scene) {
    if (positions.empty() || (flags & VISIBLE) == 0) {
        return;
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    if (!normals.empty()) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, normals.data());
    }
    GLuint texture = 0;
    if (!texCoords.empty() && (flags & NO_TEXTURE) == 0 && textureImageId != -1) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 2 * sizeof(float), texCoords.data());
        if (const ImageBuffer* image = scene.findImage(textureImageId)) {
            texture = makeTexture(*image);
        }
    }

    applyTransform();
    if (kind == KIND_POINTS && verticesPerMarker > 0) {
        drawMarkers();
    } else {
        glDrawElements(static_cast<GLenum>(drawMode()), static_cast<GLsizei>(indices.size()),
                       GL_UNSIGNED_INT, indices.data());
    }

    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (texture != 0) {
        glBindTexture(GL_TEXTURE_2D, 0);
        glDeleteTextures(1, &texture);
        glDisable(GL_TEXTURE_2D);
    }
}

void GLMesh::drawMarkers() {
    const size_t points = vertexCount() / static_cast<size_t>(verticesPerMarker);
    if (points == 0) {
        return;
    }
    const size_t perPoint = indices.size() / points;
    glEnable(GL_COLOR_MATERIAL);
    for (size_t i = 0; i < points; ++i) {
        if (i < pointFlags.size()) {
            setMarkerColour(pointFlags[i]);
        } else {
            glColor3f(1.0f, 0.8f, 0.3f);
        }
        glDrawElements(static_cast<GLenum>(drawMode()), static_cast<GLsizei>(perPoint),
                       GL_UNSIGNED_INT, indices.data() + i * perPoint);
    }
}

void GLMesh::drawPick(int pickNumber) {
    if (positions.empty() || indices.empty() || (flags & VISIBLE) == 0) {
        return;
    }
    applyTransform();
    glEnable(GL_COLOR_MATERIAL);
    const auto object = static_cast<GLubyte>(pickNumber & 0xFF);
    const size_t triangles = indices.size() / 3;
    glBegin(GL_TRIANGLES);
    for (size_t j = 0; j < triangles; ++j) {
        glColor3ub(object, static_cast<GLubyte>(j & 0xFF), static_cast<GLubyte>((j >> 8) & 0xFF));
        for (size_t k = 0; k < 3; ++k) {
            glVertex3fv(positions.data() + 3 * static_cast<size_t>(indices[3 * j + k]));
        }
    }
    glEnd();
}

} // namespace tesk

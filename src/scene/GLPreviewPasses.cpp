#include "GLPreviewPasses.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace tesk {

namespace {

/// Objects of a kind above this are markers.
constexpr int LAST_MESH_KIND = 100;
const Point3 NO_ANCHOR{0.0f, 1000.0f, 0.0f};

void setUpCamera(const GLCamera& camera, int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 1.0, 100.0);
    gluLookAt(0.0, -static_cast<double>(camera.distance), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0);
    glTranslatef(camera.pan.x, camera.pan.y, camera.pan.z);
    glMultMatrixf(camera.rotationMatrix.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_CULL_FACE);
}

/// A light that stays put relative to the viewer: (0, 1000, 0) through the inverse (the
/// transpose) of the camera's rotation, given with an identity model-view matrix.
void setUpLight(const GLCamera& camera) {
    const auto& m = camera.rotationMatrix;
    const GLfloat ambient[] = {0.01f, 0.01f, 0.01f, 0.0f};
    const GLfloat diffuse[] = {0.9f, 0.9f, 0.9f, 0.0f};
    const GLfloat specular[] = {0.0f, 0.0f, 0.0f, 0.0f};
    const GLfloat position[] = {1000.0f * m[1], 1000.0f * m[5], 1000.0f * m[9], 0.0f};
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, position);
}

void setUpMeshMaterial() {
    const GLfloat ambient[] = {0.01f, 0.01f, 0.01f, 0.01f};
    const GLfloat diffuse[] = {0.3f, 0.3f, 0.3f, 0.3f};
    const GLfloat specular[] = {0.05f, 0.05f, 0.05f, 0.05f};
    const GLfloat emission[] = {0.4f, 0.4f, 0.4f, 0.4f};
    glDisable(GL_COLOR_MATERIAL);
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT, GL_EMISSION, emission);
    glMaterialf(GL_FRONT, GL_SHININESS, 0.0f);
}

void drawAxes() {
    glLoadIdentity();
    glLineWidth(4.0f);
    glBegin(GL_LINES);
    glColor3f(0.9f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 2.0f);
    glColor3f(0.0f, 0.9f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 2.0f, 0.0f);
    glColor3f(0.0f, 0.0f, 0.9f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(2.0f, 0.0f, 0.0f);
    glEnd();
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, -2.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, -2.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(-2.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
}

/// Markers sit at the selected mesh's anchor point, unscaled: their positions are already in
/// the mesh's frame.
void placeMarkers(GLMesh& markers, Point3 anchor) {
    markers.position = anchor;
    markers.scale = {1.0f, 1.0f, 1.0f};
}

// Both passes draw the same objects in the same order: the meshes (remembering the selected
// one's anchor), then `between`, then the markers placed at that anchor, in front of the
// meshes unless they are to be hidden by them. The pick image can so never drift from the
// visible one. Each draw gets the object's 1-based pick number.
template <typename DrawMesh, typename Between, typename DrawMarkers>
void drawInPassOrder(GLScene& scene, const PreviewSettings& settings, DrawMesh drawMesh,
                     Between between, DrawMarkers drawMarkers) {
    Point3 anchor = NO_ANCHOR;
    for (int i = 0; i < scene.objectCount(); ++i) {
        GLMesh& mesh = *scene.objectAt(i);
        if (mesh.kind != KIND_MESH) {
            continue;
        }
        glLoadIdentity();
        drawMesh(mesh, i + 1);
        if (mesh.isSelected()) {
            anchor = mesh.anchorPoint();
        }
    }
    between();
    if (!settings.markersHiddenByMesh) {
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    for (int i = 0; i < scene.objectCount(); ++i) {
        GLMesh& markers = *scene.objectAt(i);
        if (markers.kind <= LAST_MESH_KIND) {
            continue;
        }
        placeMarkers(markers, anchor);
        glLoadIdentity();
        drawMarkers(markers, i + 1);
    }
}

} // namespace

void drawVisiblePass(GLScene& scene, const GLCamera& camera, int width, int height,
                     const PreviewSettings& settings) {
    if (width <= 0 || height <= 0) {
        return;
    }
    setUpCamera(camera, width, height);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DITHER);
    // Meshes are scaled by their half extents; unit normals keep the shade independent of it.
    glEnable(GL_NORMALIZE);
    glClearColor(0.25f, 0.25f, 0.25f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setUpLight(camera);

    drawInPassOrder(
        scene, settings,
        [&](GLMesh& mesh, int) {
            mesh.setDrawMode(settings.drawMode);
            mesh.flags &= ~GLMesh::NO_TEXTURE;
            setUpMeshMaterial();
            mesh.draw(scene);
        },
        [] {
            glDisable(GL_LIGHTING);
            drawAxes();
        },
        [&](GLMesh& markers, int) {
            markers.setDrawMode(GLMesh::DRAW_TRIANGLES);
            markers.flags |= GLMesh::NO_TEXTURE;
            glEnable(GL_COLOR_MATERIAL);
            markers.draw(scene);
        });
    // Lit pixels carry the material's alpha; a window system that composites the framebuffer
    // would let them show through, so the finished picture is made opaque.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void drawPickPass(GLScene& scene, const GLCamera& camera, int width, int height,
                  const PreviewSettings& settings) {
    if (width <= 0 || height <= 0) {
        return;
    }
    setUpCamera(camera, width, height);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Pick colours must reach the framebuffer unchanged.
    glDisable(GL_LIGHTING);
    glDisable(GL_DITHER);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    glEnable(GL_COLOR_MATERIAL);

    const auto drawPick = [](GLMesh& object, int pickNumber) { object.drawPick(pickNumber); };
    drawInPassOrder(
        scene, settings, drawPick, [] {}, drawPick);
}

void readPickImage(int width, int height, std::vector<uint32_t>& pixels) {
    if (width <= 0 || height <= 0) {
        pixels.clear();
        return;
    }
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
}

void renderPickImage(GLScene& scene, const GLCamera& camera, int width, int height,
                     const PreviewSettings& settings, PickImage& image) {
    if (width <= 0 || height <= 0) {
        image.clear();
        return;
    }
    drawPickPass(scene, camera, width, height, settings);
    glFinish();
    readPickImage(width, height, image.pixels);
    image.width = width;
    image.height = height;
}

void drawLasso(const Lasso& lasso, int width, int height) {
    if (lasso.size() < 2 || width <= 0 || height <= 0) {
        return;
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Client pixels, y downward; lines through pixel centres.
    glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.5f, 0.5f, 0.0f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glLineWidth(1.0f);
    glColor3ub(0, 100, 0);
    glBegin(GL_LINES);
    for (const HatchSegment& s : lasso.hatchSegments()) {
        glVertex2f(s.x0, s.y0);
        glVertex2f(s.x1, s.y1);
    }
    glEnd();
    glBegin(GL_LINE_LOOP);
    for (const LassoPoint p : lasso.points()) {
        glVertex2i(p.x, p.y);
    }
    glEnd();
    glEnable(GL_DEPTH_TEST);
}

} // namespace tesk

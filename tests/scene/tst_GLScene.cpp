#include "GLCamera.h"
#include "GLPreviewPasses.h"
#include "GLScene.h"

#include <gtest/gtest.h>

using namespace tesk;

TEST(GLScene, IdsComeFromTheSharedCounterAndPositionsFollowTheList) {
    GLScene scene;
    const int image = scene.createImage();
    const int a = scene.createMesh();
    const int b = scene.createMesh();
    const int c = scene.createMesh();
    EXPECT_EQ(a, image + 1);
    EXPECT_EQ(scene.findObject(a)->name, "Mesh " + std::to_string(a));
    EXPECT_EQ(scene.findObject(a)->flags, 0x10000004u); // visible, triangles
    EXPECT_EQ(scene.findImage(image)->id, image);
    EXPECT_EQ(scene.findImage(a), nullptr);
    EXPECT_EQ(scene.findObject(image), nullptr);

    EXPECT_EQ(scene.objectAt(1)->id, b);
    EXPECT_EQ(scene.objectAt(3), nullptr);
    scene.removeObject(a);
    EXPECT_EQ(scene.objectPosition(a), -1);
    EXPECT_EQ(scene.objectPosition(c), 1); // pick numbers shift with the list
    scene.removeObject(a);
    scene.removeObject(-1);
    EXPECT_EQ(scene.objectCount(), 2);
}

TEST(GLScene, RemovalKeepsImagesThatAnotherObjectTexturesWith) {
    GLScene scene;
    const int source = scene.createImage();
    const int shared = scene.createImage();
    const int first = scene.createMesh();
    const int second = scene.createMesh();
    scene.findObject(first)->sourceImageId = source;
    scene.findObject(first)->textureImageId = shared;
    scene.findObject(second)->textureImageId = shared;

    scene.removeImage(shared); // in use as a texture: refused
    scene.removeImage(-1);
    EXPECT_EQ(scene.imageCount(), 2);

    scene.removeObject(first);
    EXPECT_EQ(scene.findImage(source), nullptr);
    EXPECT_NE(scene.findImage(shared), nullptr);

    // Sharing only as a source protects nothing: the survivor keeps its own arrays.
    const int third = scene.createMesh();
    scene.findObject(second)->sourceImageId = shared;
    scene.findObject(third)->sourceImageId = shared;
    scene.findObject(second)->textureImageId = -1;
    scene.removeObject(second);
    EXPECT_EQ(scene.findImage(shared), nullptr);
    EXPECT_EQ(scene.imageCount(), 0);
}

TEST(GLScene, SelectionIsExclusiveAndFirstSelectedMeshSkipsOtherKinds) {
    GLScene scene;
    const int markers = scene.createMesh();
    const int unbuilt = scene.createMesh();
    const int mesh = scene.createMesh();
    const int other = scene.createMesh();
    scene.findObject(markers)->kind = KIND_POINTS;
    scene.findObject(mesh)->kind = KIND_MESH;
    scene.findObject(other)->kind = KIND_MESH;
    EXPECT_EQ(scene.firstSelectedMesh(), nullptr);

    scene.findObject(markers)->selection = GLMesh::SELECTED;
    scene.findObject(unbuilt)->selection = GLMesh::SELECTED;
    EXPECT_EQ(scene.firstSelectedMesh(), nullptr);

    scene.findObject(other)->selection = GLMesh::SELECTED;
    scene.selectObjectAt(scene.objectPosition(mesh));
    EXPECT_TRUE(scene.findObject(mesh)->isSelected());
    EXPECT_FALSE(scene.findObject(other)->isSelected());
    EXPECT_FALSE(scene.findObject(markers)->isSelected());
    EXPECT_EQ(scene.firstSelectedMesh()->id, mesh);
}

TEST(GLScene, AReplacementMeshStartsEmptyAndBuildsLikeAFreshOne) {
    GLScene scene;
    ImageBuffer image; // not in the scene, so the removal below leaves it alone
    image.allocate(64, 64);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFFu;
    }
    const int firstId = scene.createMesh();
    ASSERT_TRUE(scene.findObject(firstId)->BuildFromSculptMap(image, 64));
    GLMesh fresh;
    ASSERT_TRUE(fresh.BuildFromSculptMap(image, 64));

    scene.removeObject(firstId);
    GLMesh& second = *scene.findObject(scene.createMesh());
    EXPECT_TRUE(second.positions.empty());
    EXPECT_TRUE(second.normals.empty());
    EXPECT_TRUE(second.texCoords.empty());
    EXPECT_TRUE(second.indices.empty());
    EXPECT_EQ(second.kind, KIND_UNBUILT);
    ASSERT_TRUE(second.BuildFromSculptMap(image, 64));
    EXPECT_EQ(second.positions, fresh.positions);
    EXPECT_EQ(second.normals, fresh.normals);
    EXPECT_EQ(second.texCoords, fresh.texCoords);
    EXPECT_EQ(second.indices, fresh.indices);
}

TEST(GLCamera, ResetRestoresEverythingButTheKind) {
    GLCamera camera;
    camera.kind = 1;
    camera.distance = 12.0f;
    camera.pan = {1, 2, 3};
    camera.baseRotation = {0.5f, 0.5f, 0.5f, 0.5f};
    camera.rotation = {0, 1, 0, 0};
    camera.rotationMatrix[1] = 1.0f;
    camera.reset();
    EXPECT_EQ(camera.kind, 1);
    EXPECT_EQ(camera.distance, 5.0f);
    EXPECT_EQ(camera.pan, (Point3{}));
    EXPECT_EQ(camera.baseRotation, GLCamera::IDENTITY_ROTATION);
    EXPECT_EQ(camera.rotation, GLCamera::IDENTITY_ROTATION);
    EXPECT_EQ(camera.rotationMatrix, GLCamera{}.rotationMatrix);
}

TEST(PickImage, DecodesObjectAndTriangleFromClientPoints) {
    // 3 x 2 image, bottom row first: client (x, y) is entry (1 - y) * 3 + x.
    const std::vector<uint32_t> image = {0, 0x00030102u, 0, 0xFF000000u, 0, 0xFF01FF07u};
    const PickHit hit = pickAt(image, 3, 2, 1, 1);
    EXPECT_EQ(hit.objectNumber, 2);
    EXPECT_EQ(hit.element, 1 + 256 * 3);
    const PickHit top = pickAt(image, 3, 2, 2, 0);
    EXPECT_EQ(top.objectNumber, 7);
    EXPECT_EQ(top.element, 255 + 256);
    // Background, with or without alpha, and points outside name nothing.
    EXPECT_EQ(pickAt(image, 3, 2, 0, 0).objectNumber, -1);
    EXPECT_EQ(pickAt(image, 3, 2, 0, 1).element, -1);
    EXPECT_EQ(pickAt(image, 3, 2, 3, 0).objectNumber, -1);
    EXPECT_EQ(pickAt(image, 3, 2, 0, -1).objectNumber, -1);
}

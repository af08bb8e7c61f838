#pragma once
// The registry behind the 3-D preview: the drawable objects in draw order (a 1-based position
// is an object's pick number) and the images they are decoded from or textured with.

#include "GLMesh.h"
#include "ImageBuffer.h"

#include <memory>
#include <vector>

namespace tesk {

class GLScene {
public:
    GLScene() = default;
    GLScene(const GLScene&) = delete;
    GLScene& operator=(const GLScene&) = delete;

    /// The scene the document fills and the preview draws.
    static GLScene& shared();

    /// Appends an empty image and returns its id.
    int createImage();
    /// Appends a mesh with the creation defaults and returns its id.
    int createMesh();
    /// Takes the object out of the list (its arrays go to the next created mesh), then removes
    /// its texture image and its source image unless a remaining object textures with them.
    /// Unknown ids do nothing.
    void removeObject(int id);
    /// Deletes the image unless the id is negative or some object textures with it.
    void removeImage(int id);

    ImageBuffer* findImage(int id);
    const ImageBuffer* findImage(int id) const;
    GLMesh* findObject(int id);
    const GLMesh* findObject(int id) const;
    /// The object at a 0-based list position, or null.
    GLMesh* objectAt(int position);
    /// The 0-based list position of an object id, -1 when absent.
    int objectPosition(int id) const;
    int objectCount() const { return static_cast<int>(objects.size()); }
    int imageCount() const { return static_cast<int>(images.size()); }
    /// The first image in list order whose type word has bit 15 clear: the sculpt map the
    /// rebuild stores (effect images carry their type-set flag there). Null when none.
    const ImageBuffer* firstSculptImage() const;

    /// Sets the selection bit of the object at `position` and clears it on every other.
    void selectObjectAt(int position);
    /// The first object of kind KIND_MESH with its selection bit set, or null.
    GLMesh* firstSelectedMesh();

private:
    bool isTextureInUse(int imageId) const;

    std::vector<std::unique_ptr<GLMesh>> objects;
    std::vector<std::unique_ptr<ImageBuffer>> images;
    /// The last removed object: the document replaces its meshes on every rebuild, and the
    /// replacement takes over these arrays.
    std::unique_ptr<GLMesh> retired;
};

} // namespace tesk

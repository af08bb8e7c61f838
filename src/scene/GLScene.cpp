#include "GLScene.h"

#include <algorithm>
#include <utility>

namespace tesk {

GLScene& GLScene::shared() {
    static GLScene scene;
    return scene;
}

int GLScene::createImage() {
    images.push_back(std::make_unique<ImageBuffer>());
    return images.back()->id;
}

int GLScene::createMesh() {
    auto mesh = std::make_unique<GLMesh>();
    if (retired) {
        mesh->reuseStorageOf(*retired);
        retired.reset();
    }
    objects.push_back(std::move(mesh));
    return objects.back()->id;
}

void GLScene::removeObject(int id) {
    const int position = objectPosition(id);
    if (position < 0) {
        return;
    }
    const int textureId = objects[static_cast<size_t>(position)]->textureImageId;
    const int sourceId = objects[static_cast<size_t>(position)]->sourceImageId;
    retired = std::move(objects[static_cast<size_t>(position)]);
    objects.erase(objects.begin() + position);
    removeImage(textureId);
    removeImage(sourceId);
}

void GLScene::removeImage(int id) {
    if (id < 0 || isTextureInUse(id)) {
        return;
    }
    std::erase_if(images, [id](const auto& image) { return image->id == id; });
}

bool GLScene::isTextureInUse(int imageId) const {
    return std::any_of(objects.begin(), objects.end(),
                       [imageId](const auto& o) { return o->textureImageId == imageId; });
}

ImageBuffer* GLScene::findImage(int id) {
    return const_cast<ImageBuffer*>(std::as_const(*this).findImage(id));
}

const ImageBuffer* GLScene::findImage(int id) const {
    const auto it = std::find_if(images.begin(), images.end(),
                                 [id](const auto& image) { return image->id == id; });
    return it == images.end() ? nullptr : it->get();
}

GLMesh* GLScene::findObject(int id) {
    return const_cast<GLMesh*>(std::as_const(*this).findObject(id));
}

const GLMesh* GLScene::findObject(int id) const {
    const int position = objectPosition(id);
    return position < 0 ? nullptr : objects[static_cast<size_t>(position)].get();
}

GLMesh* GLScene::objectAt(int position) {
    if (position < 0 || position >= objectCount()) {
        return nullptr;
    }
    return objects[static_cast<size_t>(position)].get();
}

int GLScene::objectPosition(int id) const {
    for (size_t i = 0; i < objects.size(); ++i) {
        if (objects[i]->id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void GLScene::selectObjectAt(int position) {
    for (int i = 0; i < objectCount(); ++i) {
        GLMesh& o = *objects[static_cast<size_t>(i)];
        if (i == position) {
            o.selection |= GLMesh::SELECTED;
        } else {
            o.selection &= ~GLMesh::SELECTED;
        }
    }
}

GLMesh* GLScene::firstSelectedMesh() {
    for (const auto& o : objects) {
        if (o->kind == KIND_MESH && o->isSelected()) {
            return o.get();
        }
    }
    return nullptr;
}

const ImageBuffer* GLScene::firstSculptImage() const {
    for (const auto& image : images) {
        if ((image->typeWord & 0x8000) == 0) {
            return image.get();
        }
    }
    return nullptr;
}

} // namespace tesk

#pragma once
// What the document tells the views. Every method has an empty default, so a listener
// overrides only what it shows.

#include <string>

namespace tesk {

/// Listeners are told in rank order, and within a rank in the order they were added. The
/// ranks follow the steps of a rebuild: the preview's scene objects are replaced first, then
/// the 2-D editor, the preview and the control panel show the new shape, and the viewer link
/// hears of it last.
enum class ListenerRank { Scene, PointEditor, View, Preview, ControlPanel, Link };

class DocumentListener {
public:
    virtual ~DocumentListener() = default;
    virtual void fileNameChanged(const std::string& /*name*/) {}
    /// A project was written to or read from disk, or restored from an undo snapshot
    /// (`onDisk` false).
    virtual void projectStored(const std::string& /*path*/, bool /*onDisk*/) {}
    /// The shape was rebuilt: grid, map and type are new.
    virtual void shapeRebuilt() {}
    /// Cell flags changed: selection, hover or band marks, or the cell count.
    virtual void selectionChanged() {}
    /// The marker points or their flags were recomputed.
    virtual void markersChanged() {}
    /// The working points were committed ("確定"), after the rebuild and before the undo
    /// snapshot is taken.
    virtual void confirmed() {}
};

} // namespace tesk

#pragma once
// The confirmed states of the shape, kept per project file name as project images in a
// fixed pool of slots, and the document's list of those histories.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace tesk {

class Messages;

inline constexpr int kUndoSlotCount = 40;

/// "UNDO バッファにエラーが生じています。\nデータを保存して、再起動してください。"
extern const char* const kUndoBufferErrorMessage;

/// A project image held in a slot. Slots grow to whatever image is written into them, so
/// every loadable shape fits; a slot pushed but never written is empty and fails to load.
using Snapshot = std::vector<uint8_t>;

/// The snapshot pool of one file name: every slot is free, on the undo stack or on the redo
/// stack.
class UndoHistory {
public:
    UndoHistory(std::string fileName, int slotCount);

    /// The name given at creation, kept whole whatever its length.
    const std::string& fileName() const { return m_fileName; }
    /// True when the name equals this history's name after foldCase.
    bool matches(const std::string& foldedName) const { return foldedName == m_foldedName; }

    /// Takes the last free slot, else the oldest undo slot, else the oldest redo slot; puts it
    /// on top of the undo stack, frees every redo slot and returns the emptied slot. Null
    /// when the pool has no slot at all.
    Snapshot* push();
    /// Moves the top of the undo stack to the redo stack; null when the undo stack is empty.
    const Snapshot* undo();
    /// Moves the top of the redo stack to the undo stack; null when the redo stack is empty.
    const Snapshot* redo();

    size_t undoDepth() const { return m_undo.size(); }
    size_t redoDepth() const { return m_redo.size(); }
    size_t freeCount() const { return m_free.size(); }

private:
    std::string m_fileName;
    std::string m_foldedName;
    std::vector<Snapshot> m_slots;
    std::deque<int> m_free; ///< slot indices
    std::deque<int> m_undo; ///< back = top
    std::deque<int> m_redo; ///< back = top
};

/// The document's histories in creation order, looked up by file name without regard to
/// letter case. A history lives as long as the list.
class UndoHistories {
public:
    explicit UndoHistories(int slotsPerHistory = kUndoSlotCount);

    /// Pushes a slot for the file (creating its history on first use) and returns it for the
    /// caller to write the project image into. Null, after kUndoBufferErrorMessage, when no
    /// slot can be had.
    Snapshot* pushSnapshot(const std::string& fileName, Messages& messages);
    /// The snapshot to load for Undo / Redo, or null when there is none.
    const Snapshot* undo(const std::string& fileName);
    const Snapshot* redo(const std::string& fileName);

    /// The first history whose name matches, or null.
    UndoHistory* find(const std::string& fileName);
    size_t size() const { return m_histories.size(); }

private:
    int m_slotsPerHistory;
    std::vector<std::unique_ptr<UndoHistory>> m_histories;
};

} // namespace tesk

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
/// stack. The top of the undo stack is the state the shape is in: the base recorded at a load,
/// New or save, or the last confirmed change.
class UndoHistory {
public:
    UndoHistory(std::string fileName, int slotCount);

    /// The name given at creation, kept whole whatever its length.
    const std::string& fileName() const { return m_fileName; }
    /// Names are compared byte for byte: on Linux "Case.tsk" and "case.tsk" are two files.
    bool matches(const std::string& name) const { return name == m_fileName; }

    /// Takes the last free slot, else the oldest undo slot, else the oldest redo slot; puts it
    /// on top of the undo stack, frees every redo slot and returns the emptied slot. Null
    /// when the pool has no slot at all.
    Snapshot* push();
    /// Steps back: moves the top of the undo stack (the present state) to the redo stack and
    /// returns the state below it, the one to restore. Null, changing nothing, unless the
    /// undo stack holds a state before the present one.
    const Snapshot* undo();
    /// Moves the top of the redo stack to the undo stack and returns it, the state to
    /// restore; null when the redo stack is empty.
    const Snapshot* redo();
    /// The present state (top of the undo stack), or null when nothing was recorded.
    const Snapshot* current() const;
    /// Frees every slot: the history starts again.
    void clear();

    size_t undoDepth() const { return m_undo.size(); }
    size_t redoDepth() const { return m_redo.size(); }
    size_t freeCount() const { return m_free.size(); }

private:
    std::string m_fileName;
    std::vector<Snapshot> m_slots;
    std::deque<int> m_free; ///< slot indices
    std::deque<int> m_undo; ///< back = top
    std::deque<int> m_redo; ///< back = top
};

/// The document's histories in creation order, looked up by exact file name. A history lives
/// as long as the list.
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
    /// The present state of the file's history, or null.
    const Snapshot* current(const std::string& fileName);
    /// Empties the file's history, when it has one.
    void clear(const std::string& fileName);

    /// The first history whose name matches, or null.
    UndoHistory* find(const std::string& fileName);
    size_t size() const { return m_histories.size(); }

private:
    int m_slotsPerHistory;
    std::vector<std::unique_ptr<UndoHistory>> m_histories;
};

} // namespace tesk

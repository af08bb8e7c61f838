#pragma once
// The editor's side of the viewer link: sends the shape after each rebuild while the link
// button is pressed in, answers the viewer's registration and its load and save requests, and
// saves on confirm so the file on disk matches what the viewer shows.

#include "LinkNames.h"
#include "MessageTransport.h"
#include "Point3.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tesk {

class Messages;

/// What the link needs of the editor around it.
class LinkHost {
public:
    virtual ~LinkHost() = default;
    /// The "Viewer 連動" button is pressed in.
    virtual bool linkPressed() const = 0;
    virtual void releaseLink() = 0;
    virtual bool isNewShape() const = 0;
    /// The preview holds a mesh built from a sculpt map.
    virtual bool hasPreviewMesh() const = 0;
    virtual std::string fileName() const = 0;
    virtual Point3 halfExtent() const = 0;
    virtual std::span<const uint32_t> sculptMap() const = 0;
    /// Keeps the main window above every other window (shown, not moved) while on.
    virtual void setTopMost(bool on) = 0;
    /// The control panel's Save shape command, with its file dialog.
    virtual void runSaveCommand() = 0;
    virtual void saveProject(const std::string& path) = 0;
    virtual void loadProject(const std::string& path) = 0;
};

class ViewerLinkController {
public:
    /// `panelId` is the control panel's window id: what the viewer is told to talk to.
    ViewerLinkController(LinkNames names, LinkHost& host, Messages& messages, uint32_t panelId);

    /// After every rebuild and when the button is clicked. The result of the send, when one
    /// was made: -1 no viewer, 0 no answer or busy, else the acknowledgement.
    std::optional<int64_t> viewerLinkUpdate();
    /// After the working points were committed, before the undo snapshot.
    void confirmed();

    /// Messages to the main window (kMsgRegister) and to the control panel (the requests).
    /// Anything else changes nothing. The result is the answer to a sent message.
    uint32_t mainWindowMessage(const LinkMessage& message);
    uint32_t panelMessage(const LinkMessage& message);

    /// Set while a request is handled: the rebuild of a requested load sends nothing back.
    bool viewerBusy() const { return m_viewerBusy; }
    uint32_t panelId() const { return m_panelId; }
    const LinkNames& names() const { return m_names; }

private:
    /// Asks whether to save the new shape first; on yes runs the Save shape command.
    void offerToSave(bool topMost);
    void loadRequested();
    void saveRequested();
    void saveThenLoadRequested();
    /// The new shape of a rebuild, which the viewer cannot be told about until it is saved.
    bool unsavedShapeShown() const;

    LinkNames m_names;
    LinkHost& m_host;
    Messages& m_messages;
    uint32_t m_panelId;
    bool m_viewerBusy = false;
};

} // namespace tesk

#include "ViewerLinkController.h"

#include "Messages.h"
#include "Strings.h"
#include "ViewerLink.h"

namespace tesk {

ViewerLinkController::ViewerLinkController(LinkNames names, LinkHost& host, Messages& messages,
                                           uint32_t panelId)
    : m_names(std::move(names)), m_host(host), m_messages(messages), m_panelId(panelId) {}

bool ViewerLinkController::unsavedShapeShown() const {
    return m_host.isNewShape() && m_host.hasPreviewMesh();
}

std::optional<int64_t> ViewerLinkController::viewerLinkUpdate() {
    if (!m_host.linkPressed()) {
        return std::nullopt;
    }
    if (m_host.isNewShape()) {
        if (m_host.hasPreviewMesh()) {
            m_messages.inform(kSaveNewShapeFirstMessage);
            m_host.releaseLink();
        }
        return std::nullopt;
    }
    if (m_viewerBusy) {
        return 0;
    }
    ViewerLink link(m_names);
    const int64_t result = link.sendShapeToViewer(
        {m_host.fileName(), m_host.halfExtent(), m_host.sculptMap()}, m_panelId, m_messages);
    if (result == -1) {
        m_messages.inform(kStartViewerFirstMessage);
        m_host.releaseLink();
    }
    return result;
}

void ViewerLinkController::confirmed() {
    if (m_host.linkPressed() && !m_host.isNewShape()) {
        m_host.saveProject(m_host.fileName());
    }
}

uint32_t ViewerLinkController::mainWindowMessage(const LinkMessage& message) {
    if (message.message == kMsgRegister) {
        SharedBlock(m_names.block).writeWord(kPeerOffset, m_panelId);
    }
    return 0;
}

uint32_t ViewerLinkController::panelMessage(const LinkMessage& message) {
    if (message.message != kMsgLoad && message.message != kMsgSave &&
        message.message != kMsgSaveThenLoad) {
        return 0;
    }
    m_viewerBusy = true;
    if (m_host.linkPressed()) {
        switch (message.message) {
        case kMsgLoad:
            loadRequested();
            break;
        case kMsgSave:
            saveRequested();
            break;
        default:
            saveThenLoadRequested();
            break;
        }
    }
    ViewerLink(m_names).clearRequestName();
    m_viewerBusy = false;
    return 0;
}

void ViewerLinkController::offerToSave(bool topMost) {
    if (topMost) {
        m_host.setTopMost(true);
    }
    if (m_messages.yesNo(kSaveBeforeLoadQuestion)) {
        m_host.runSaveCommand();
    }
    if (topMost) {
        m_host.setTopMost(false);
    }
}

void ViewerLinkController::loadRequested() {
    if (unsavedShapeShown()) {
        offerToSave(true);
    }
    m_host.loadProject(ViewerLink(m_names).readRequestName());
}

void ViewerLinkController::saveRequested() {
    // Compared without regard to letter case, as the viewer may spell the name its own way;
    // but saved under the document's own spelling, since on this system another spelling
    // names another file.
    const std::string requested = ViewerLink(m_names).readRequestName();
    const std::string current = m_host.fileName();
    if (!requested.empty() && equalsIgnoringCase(requested, current)) {
        m_host.saveProject(current);
    }
}

void ViewerLinkController::saveThenLoadRequested() {
    if (unsavedShapeShown()) {
        offerToSave(false);
    } else if (!m_host.isNewShape()) {
        m_host.saveProject(m_host.fileName());
    }
    m_host.loadProject(ViewerLink(m_names).readRequestName());
}

} // namespace tesk

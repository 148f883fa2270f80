// The answerers of modal loops.
#include <atomic>

#include "winplat/host.h"

namespace winplat::host {
namespace {
std::atomic<Answerer*> installed{nullptr};
}  // namespace

Answerer* setAnswerer(Answerer* answerer) { return installed.exchange(answerer); }

Answerer* answerer() { return installed.load(); }

ModalAnswer modalIdle(const ModalLoop& loop) {
    Answerer* current = answerer();
    return current ? current->idle(loop) : ModalAnswer{};
}

const char* modalKindName(ModalKind kind) {
    switch (kind) {
        case ModalKind::Dialog: return "dialog";
        case ModalKind::MessageBox: return "message box";
        case ModalKind::PopupMenu: return "popup menu";
        case ModalKind::MoveSize: return "move/size";
        case ModalKind::CommonDialog: return "common dialog";
        case ModalKind::Form: return "form";
    }
    return "modal loop";
}

}  // namespace winplat::host

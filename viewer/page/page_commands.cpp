// Page commands handed to the objects, and the freeing of what the objects hold: their windows,
// cached and composed images and temporary files.
#include <array>

#include "page/page.h"
#include "store/file_name_table.h"
#include "winplat/user.h"

namespace lect32 {

namespace {

constexpr int kStoreCommand = 1;   // before the page is stored
constexpr int kReloadCommand = 2;  // pictures are loaded again
constexpr int kFreeCommand = 3;
constexpr int kAnchorsCommand = 9;
constexpr int kDataCommand = 10;
constexpr int kRestyleCommand = 11;  // as 2, but the text frames keep their style
constexpr int kValueCommand = 13;
constexpr UINT_PTR kOwnerTimer = 500;

// Index of the path in a table, or -1 when it cannot be added.
int16_t addPath(FileNameTable& table, char* path) {
    if (!path[0]) return -1;
    const uint16_t index = table.AddPath(path);
    return index == 0xFFFF ? int16_t{-1} : static_cast<int16_t>(index);
}

}  // namespace

void Page::releaseImages(PageObject& o) {
    for (uint16_t* image : {&o.backgroundImage, &o.workImage}) {
        if (*image) media().DeleteImage(*image, false);
        *image = 0;
    }
}

void Page::freeObject(PageObject& o, uint16_t i) {
    if (o.window) media().CloseObjectWindow(o.Window());
    ImageFileTable& pictureCache = cache();
    if (o.Is(ObjectKind::Button)) {
        for (int16_t entry : GetButton(i).cache) {
            if (entry < 0) continue;
            const auto index = static_cast<uint16_t>(entry);
            if (pictureCache.GetUseCount(index) < 2) media().DeleteImage(static_cast<uint16_t>(pictureCache.GetImage(entry)), false);
            pictureCache.ReleasePath(index, 0);
        }
    } else if (o.cacheIndex >= 0) {
        const auto index = static_cast<uint16_t>(o.cacheIndex);
        if (pictureCache.GetUseCount(index) == 1) {
            media().DeleteImage(static_cast<uint16_t>(pictureCache.GetImage(o.cacheIndex)), !o.Is(ObjectKind::Picture));
        }
        pictureCache.ReleasePath(index, 0);
    }
    releaseImages(o);
    if (o.tempFile >= 0) media().DeleteTempFile(o.tempFile);
    o.ClearRunTimeState();
}

void Page::FreeObjects(bool all) {
    frame_.reset();
    activeText_ = kNone;
    if (all) {
        for (uint16_t i = 0; i < GetCount(); ++i) freeObject(objects_[i], i);
    }
    objects_.Clear();
    attributes_.Clear();
    contents_.Clear();
    current_ = kNone;
    dragging_ = false;
    if (timerRunning_ && owner_) KillTimer(owner_, kOwnerTimer);
    timerRunning_ = false;
    savedValues_ = SavedPageValues{};
}

// Pictures known only by their cache entry get a picture-table entry, so the stored page names them.
void Page::storeCachedPaths() {
    char path[FileNameTable::kPathBuffer];
    ImageFileTable& pictureCache = cache();
    for (uint16_t i = 0; i < GetCount(); ++i) {
        PageObject& o = objects_[i];
        if (o.Is(ObjectKind::Button)) {
            ButtonRecord button = GetButton(i);
            for (int s = 0; s < ButtonRecord::kStates; ++s) {
                if (button.pictures[s] != -1 || button.cache[s] < 0) continue;
                pictureCache.GetPath(button.cache[s], path);
                button.pictures[s] = addPath(pictures(), path);
            }
            SetButton(i, button);
        } else if (o.cacheIndex >= 0 && o.picture < 0) {
            pictureCache.GetPath(o.cacheIndex, path);
            o.picture = addPath(pictures(), path);
        }
    }
}

// Before pictures load again: nothing of the last showing is held, and (reload) each picture
// index gets its cache entry back.
void Page::resetForReload(uint16_t i, int type) {
    PageObject& o = objects_[i];
    o.ClearRunTimeState();
    if (type != kReloadCommand) return;
    char path[FileNameTable::kPathBuffer];
    const auto cacheOf = [&](int16_t picture) -> int16_t {
        if (picture < 0) return -1;
        pictures().GetPath(picture, path);
        const int16_t entry = addPath(cache(), path);
        if (entry >= 0 && cache().GetUseCount(static_cast<uint16_t>(entry)) == 1) cache().SetImage(static_cast<uint16_t>(entry), 0);
        return entry;
    };
    if (o.IsPicture()) {
        o.cacheIndex = cacheOf(o.picture);
    } else if (o.Is(ObjectKind::Button)) {
        ButtonRecord button = GetButton(i);
        for (int s = 0; s < ButtonRecord::kStates; ++s) button.cache[s] = cacheOf(button.pictures[s]);
        SetButton(i, button);
    }
}

int Page::DoCommand(int type, int value, void* data) {
    if (type == kReloadCommand && value == 1) return painter().SelectionCommand();
    if (type == kValueCommand) return painter().ValueCommand(value);
    int handled = 0;
    for (uint16_t i = 0; i < GetCount(); ++i) {
        if (!objects_[i].Is(ObjectKind::TextFrame)) continue;
        ActivateTextObject(i, type != kRestyleCommand, type == kRestyleCommand);
        if (frame_ && activeText_ == i && frame_->DoCommand(type, value, data)) {
            CommitTextObject();
            handled = 1;
        }
    }
    if (type == kStoreCommand && !services_.keepPictures) storeCachedPaths();
    if (type == kReloadCommand || type == kRestyleCommand) {
        if (type == kReloadCommand) current_ = kNone;
        for (uint16_t i = 0; i < GetCount(); ++i) resetForReload(i, type);
        handled = 1;
    }
    if (type == kFreeCommand) FreeObjects(true);
    if (type == kAnchorsCommand) painter().PlaceAnchoredObjects();
    if (type == kDataCommand) painter().TakeCommandData(data);
    return handled;
}

}  // namespace lect32

// What a frame and an animation tell about themselves, and setting it. Strings cross the
// interface as copies: the caller frees what it gets with free(), and keeps what it hands in.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "core/frames/frame_chain.h"

using namespace pixmill;

namespace {

char* copyOut(const std::optional<std::string>& text) {
    if (!text) return nullptr;
    char* copy = static_cast<char*>(std::malloc(text->size() + 1));
    if (copy) std::memcpy(copy, text->c_str(), text->size() + 1);
    return copy;
}

std::optional<std::string> copyIn(const char* text) {
    if (!text) return std::nullopt;
    return std::string(text);
}

PxlTextBlock* copyOut(const std::optional<TextBlock>& block) {
    if (!block) return nullptr;
    auto* copy = static_cast<PxlTextBlock*>(std::malloc(sizeof(PxlTextBlock)));
    if (!copy) return nullptr;
    std::copy(block->parameters.begin(), block->parameters.end(), copy->fields);
    copy->text = copyOut(std::optional<std::string>(block->text));
    return copy;
}

// The one transparency a GIF frame can have: a single palette-index entry.
int32_t frameTransparency(const ImageRecord& frame) {
    if (frame.entryCount != 1 || frame.entries[0].kind != PXL_TRANSPARENT_INDEX) return 0;
    return PXL_FRAME_TRANSPARENT_INDEX | (frame.entries[0].blue & 0xFF);
}

}  // namespace

int16_t PXLGetImageFramesInfo(PxlImageId id, PxlFramesInfo* info) {
    if (!info) return 0;
    ImageLock frame = lockImage(id, Access::Read);
    if (!frame || !frame->header) return 0;
    info->width = frame->width();
    info->height = frame->height();
    info->left = frame->left;
    info->top = frame->top;
    info->delay = frame->delay;
    info->disposal = frame->disposal;
    info->transparency = frameTransparency(*frame);
    info->comment = copyOut(frame->comment);
    info->title = copyOut(frame->title);
    info->textBlock = copyOut(frame->textBlock);
    return 1;
}

int16_t PXLSetImageFramesInfo(PxlImageId id, const PxlFramesInfo* info) {
    if (!info) return 0;
    {
        ImageLock frame = lockImage(id, Access::Write);
        if (!frame) return 0;
        frame->left = info->left;
        frame->top = info->top;
        frame->delay = info->delay;
        frame->disposal = info->disposal;
        frame->comment = copyIn(info->comment);
        // "|" joins the frame titles of a saved animation.
        frame->title = copyIn(info->title);
        if (frame->title) std::replace(frame->title->begin(), frame->title->end(), '|', ']');
        if (info->textBlock && info->textBlock->text) {
            TextBlock block;
            std::copy(info->textBlock->fields, info->textBlock->fields + block.parameters.size(),
                      block.parameters.begin());
            block.text = info->textBlock->text;
            frame->textBlock = std::move(block);
        }
    }
    if ((info->transparency >> 24) == 1) {
        PxlTransparencyEntry entry{};
        entry.kind = PXL_TRANSPARENT_INDEX;
        entry.blue = info->transparency & 0xFF;
        PXLSetImageTransparent(id, &entry, 1);
    } else {
        PXLSetImageTransparent(id, nullptr, 0);
    }
    return 1;
}

int16_t PXLGetAnimateInfo(PxlImageId id, PxlAnimateInfo* info) {
    if (!info) return 0;
    const int frames = countFrames(id);
    ImageLock image = lockImage(id, Access::Read);
    if (!image) return 0;
    info->screenWidth = image->screenWidth;
    info->screenHeight = image->screenHeight;
    info->frameCount = frames;
    info->repeatCount = image->repeatCount;
    info->text = copyOut(image->animationText);
    return 1;
}

int16_t PXLSetAnimateInfo(PxlImageId id, const PxlAnimateInfo* info) {
    if (!info) return 0;
    ImageLock image = lockImage(id, Access::Write);
    if (!image) return 0;
    image->screenWidth = info->screenWidth;
    image->screenHeight = info->screenHeight;
    image->repeatCount = info->repeatCount < 0 ? -1 : info->repeatCount;
    image->animationText = copyIn(info->text);
    return 1;
}

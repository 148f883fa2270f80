#include "page/link_remap.h"

namespace lect32 {

LinkTarget RemapLinkTarget(const LinkTarget& link, const LinkRemap& remap) {
    LinkTarget mapped = link;
    switch (link.kind) {
    case 0: mapped.a = remap.MapPage(link.a); break;
    case 2:
    case 3: mapped.document = remap.MapMember(link.document); break;
    default: break;  // kind 10's value and every other body stay as they are
    }
    return mapped;
}

}  // namespace lect32

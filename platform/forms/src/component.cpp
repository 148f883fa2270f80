#include "winforms/component.h"

#include <algorithm>

#include "winforms/application.h"
#include "winforms/form.h"
#include "winplat/base.h"

namespace winforms {

Component::Component(Component* owner) : owner_(owner) {}

Component::~Component() {
    // Owned components go first, the newest first, while this one is still whole around them.
    while (!owned_.empty()) {
        std::unique_ptr<Component> last = std::move(owned_.back());
        owned_.pop_back();
        last.reset();
    }
    if (Application::Exists()) Application::Current().Forget(*this);
}

void Component::adopt(std::unique_ptr<Component> component) { owned_.push_back(std::move(component)); }

Component* Component::FindComponent(const std::string& name) const {
    for (const auto& component : owned_) {
        if (lstrcmpiA(component->Name().c_str(), name.c_str()) == 0) return component.get();
    }
    return nullptr;
}

bool Component::destroyOwned(Component* component) {
    auto found = std::find_if(owned_.begin(), owned_.end(), [component](const auto& c) { return c.get() == component; });
    if (found == owned_.end()) return false;
    std::unique_ptr<Component> doomed = std::move(*found);
    owned_.erase(found);
    doomed.reset();
    return true;
}

void Component::Free() {
    if (freeing_) return;
    freeing_ = true;
    BeforeFree();
    if (Application::Exists() && Application::Current().InEvent()) {
        Application::Current().FreeLater(*this);
        return;
    }
    destroyNow();
}

void Component::destroyNow() {
    if (owner_) {
        owner_->destroyOwned(this);
    } else if (auto* form = dynamic_cast<Form*>(this); form && Application::Exists()) {
        Application::Current().DestroyForm(*form);
    }
}

}  // namespace winforms

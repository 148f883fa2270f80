// The root of the form library's objects: a component has a name, a tag and an owner, which owns
// it and frees it with itself. Components are made by their owner:
//
//     Button& ok = form.Add<Button>();   // owned by the form, freed with it
//     ok.SetName("Button1");
//
// A component freed while an event is being handled (its own, or any other) stays valid until the
// outermost event returns, and is freed then.
#ifndef WINFORMS_COMPONENT_H
#define WINFORMS_COMPONENT_H

#include <memory>
#include <string>
#include <utility>
#include <vector>

#ifndef WINFORMS_API
#define WINFORMS_API __attribute__((visibility("default")))
#endif

namespace winforms {

class WINFORMS_API Component {
public:
    explicit Component(Component* owner);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    // Makes a component owned by this one; the reference stays valid until it is freed.
    template <class T, class... Args>
    T& Add(Args&&... args) {
        auto made = std::make_unique<T>(this, std::forward<Args>(args)...);
        T& component = *made;
        adopt(std::move(made));
        return component;
    }

    Component* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    long Tag() const { return tag_; }
    void SetTag(long tag) { tag_ = tag; }

    // The components this one owns, in the order they were made.
    size_t ComponentCount() const { return owned_.size(); }
    Component& Components(size_t index) const { return *owned_.at(index); }
    // An owned component by name (case-insensitive), or null.
    Component* FindComponent(const std::string& name) const;

    // Frees the component: now, or when the event being handled returns.
    void Free();
    // Whether Free was called and the component waits for the event to return.
    bool Freeing() const { return freeing_; }

protected:
    // Called once, before the component is freed while still whole: a control hides here.
    virtual void BeforeFree() {}

private:
    friend class Application;
    void adopt(std::unique_ptr<Component> component);
    // Destroys an owned component now; false when it is not owned here.
    bool destroyOwned(Component* component);
    void destroyNow();

    Component* owner_;
    std::string name_;
    long tag_ = 0;
    bool freeing_ = false;
    std::vector<std::unique_ptr<Component>> owned_;
};

}  // namespace winforms

#endif

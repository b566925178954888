// Component: the base of everything a form owns, visual or not. An owner
// frees the components it owns, newest first, when it is freed itself.
// Portable: no Windows types here, so non-visual components can be tested natively.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tk {

class Component {
public:
    explicit Component(Component* owner = nullptr) : owner_(owner)
    {
        if (owner_)
            owner_->owned_.push_back(this);
    }
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    virtual ~Component()
    {
        // Newest first, the reverse of creation.
        while (!owned_.empty()) {
            Component* c = owned_.back();
            delete c; // unlinks itself from owned_
        }
        if (owner_) {
            auto& v = owner_->owned_;
            v.erase(std::remove(v.begin(), v.end(), this), v.end());
        }
    }

    Component* Owner() const { return owner_; }
    const std::vector<Component*>& Owned() const { return owned_; }

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

private:
    Component* owner_;
    std::vector<Component*> owned_;
    std::string name_;
};

} // namespace tk

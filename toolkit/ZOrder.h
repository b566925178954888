// ZOrder: the windowless controls of one parent in painting order, the back
// first. Painting walks it back to front; the mouse and the cursor go to the
// front-most control that is visible, enabled and contains the point.
// Portable: T needs Visible(), Enabled() and Contains(Point).
#pragma once

#include <algorithm>
#include <vector>

#include "toolkit/Geometry.h"

namespace tk {

template <class T>
class ZOrder {
public:
    // A new control goes in front of the ones already there.
    void Add(T* item) { items_.push_back(item); }
    void Remove(T* item) { items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end()); }

    void BringToFront(T* item)
    {
        Remove(item);
        items_.push_back(item);
    }
    void SendToBack(T* item)
    {
        Remove(item);
        items_.insert(items_.begin(), item);
    }

    const std::vector<T*>& BackToFront() const { return items_; }

    T* At(Point p) const
    {
        for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
            T* item = *it;
            if (item->Visible() && item->Enabled() && item->Contains(p))
                return item;
        }
        return nullptr;
    }

private:
    std::vector<T*> items_;
};

} // namespace tk

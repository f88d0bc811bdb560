#pragma once
// Events call their delegates in insertion order. Additions and removals made while an
// event fires are deferred until the outermost Fire returns; then removals apply, then
// additions. Deliberate safety rules beyond the plain queue:
//  - removing a delegate during Fire first cancels a matching pending addition;
//  - a delegate removed during Fire that has not run yet in this pass is skipped
//    (its owner may delete it right after removing it);
//  - Fire may nest: the deferred lists apply when the outermost Fire returns.
// An event does not own its delegates.
#include <cstddef>
#include <utility>
#include <vector>

#include "engine/core/FDelegate.h"

template <typename D>
class FEventList {
public:
    FEventList() {
        m_entries.reserve(10);
        m_additions.reserve(10);
    }
    virtual ~FEventList() = default;

    void AddDelegate(D* d) {
        if (!d)
            return;
        if (m_depth > 0)
            m_additions.push_back(d);
        else
            m_entries.push_back({d, false});
    }

    void RemoveDelegate(D* d) {
        if (m_depth == 0) {
            for (size_t i = 0; i < m_entries.size(); ++i) {
                if (m_entries[i].d == d) {
                    m_entries.erase(m_entries.begin() + i);
                    return;
                }
            }
            return;
        }
        for (size_t i = 0; i < m_additions.size(); ++i) {
            if (m_additions[i] == d) {
                m_additions.erase(m_additions.begin() + i);
                return;
            }
        }
        for (auto& e : m_entries) {
            if (e.d == d && !e.removed) {
                e.removed = true;
                m_hasRemovals = true;
                return;
            }
        }
    }

    size_t Count() const { return m_entries.size(); }
    bool IsFiring() const { return m_depth > 0; }

protected:
    template <typename Call>
    void FireWith(Call&& call) {
        ++m_depth;
        // Entries are only appended while firing, so indices stay valid; new ones are not
        // in the list until the outermost Fire returns.
        const size_t n = m_entries.size();
        for (size_t i = 0; i < n; ++i) {
            if (!m_entries[i].removed)
                call(m_entries[i].d);
        }
        if (--m_depth == 0)
            ApplyPending();
    }

private:
    struct Entry {
        D* d;
        bool removed;
    };

    void ApplyPending() {
        if (m_hasRemovals) {
            size_t w = 0;
            for (size_t r = 0; r < m_entries.size(); ++r)
                if (!m_entries[r].removed)
                    m_entries[w++] = m_entries[r];
            m_entries.resize(w);
            m_hasRemovals = false;
        }
        // An addition applied here may itself be removed again later; take a copy first.
        std::vector<D*> additions;
        additions.swap(m_additions);
        for (D* d : additions)
            m_entries.push_back({d, false});
    }

    std::vector<Entry> m_entries;
    std::vector<D*> m_additions;
    int m_depth = 0;
    bool m_hasRemovals = false;
};

class FHandler : public FEventList<IDelegate> {
public:
    void Fire() {
        FireWith([](IDelegate* d) { d->Invoke(); });
    }
};

template <typename P>
class FHandlerParam : public FEventList<IDelegateParam<P>> {
public:
    void Fire(P param) {
        this->FireWith([&param](IDelegateParam<P>* d) { d->Invoke(static_cast<P>(param)); });
    }
};

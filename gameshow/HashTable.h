#pragma once
// A chained hash table keyed by a 32-bit id, with a bucket count fixed at construction. An
// entry's bucket is floor(n * frac((key mod n) * (sqrt(5) - 1) / 2)); new entries go to the
// head of their bucket's chain and a present key is refused.
#include <cmath>
#include <utility>
#include <vector>

#include "engine/core/AGTypes.h"

namespace GameShow {

template <typename T>
class HashTable {
public:
    explicit HashTable(u32 bucketCount)
        : m_Buckets(bucketCount ? bucketCount : 1, nullptr), m_Multiplier((std::sqrt(5.0) - 1.0) / 2.0) {}
    ~HashTable() { Clear(); }
    HashTable(const HashTable&) = delete;
    HashTable& operator=(const HashTable&) = delete;

    u32 BucketOf(u32 key) const {
        const double n = double(m_Buckets.size());
        const double product = double(key % u32(m_Buckets.size())) * m_Multiplier;
        return u32(std::floor(n * (product - std::floor(product))));
    }

    // False, with the value dropped, when the key is present.
    bool Insert(u32 key, T value) {
        if (Find(key))
            return false;
        Node*& head = m_Buckets[BucketOf(key)];
        head = new Node{key, std::move(value), head};
        ++m_Count;
        return true;
    }

    T* Find(u32 key) {
        for (Node* node = m_Buckets[BucketOf(key)]; node; node = node->next)
            if (node->key == key)
                return &node->value;
        return nullptr;
    }

    // Unlinks the entry and hands its value back; false when absent.
    bool Take(u32 key, T& out) {
        for (Node** link = &m_Buckets[BucketOf(key)]; *link; link = &(*link)->next) {
            if ((*link)->key != key)
                continue;
            Node* node = *link;
            *link = node->next;
            out = std::move(node->value);
            delete node;
            --m_Count;
            return true;
        }
        return false;
    }

    bool Remove(u32 key) {
        T value{};
        return Take(key, value);
    }

    // The keys of one bucket, head first.
    std::vector<u32> KeysOfBucket(u32 bucket) const {
        std::vector<u32> keys;
        for (Node* node = m_Buckets[bucket]; node; node = node->next)
            keys.push_back(node->key);
        return keys;
    }

    // Moves every value out to sink, emptying the table.
    template <typename Sink>
    void Drain(Sink&& sink) {
        for (Node*& head : m_Buckets) {
            while (Node* node = head) {
                head = node->next;
                sink(std::move(node->value));
                delete node;
            }
        }
        m_Count = 0;
    }

    void Clear() {
        Drain([](T&&) {});
    }

    u32 Count() const { return m_Count; }

private:
    struct Node {
        u32 key;
        T value;
        Node* next;
    };

    std::vector<Node*> m_Buckets;
    double m_Multiplier;
    u32 m_Count = 0;
};

}  // namespace GameShow

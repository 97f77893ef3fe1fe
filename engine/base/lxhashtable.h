// LXHashTable: chained buckets of (key, value) pairs.
//
// A key type provides `uint32_t hash(uint32_t n) const` (a value below n, as lxstring's
// and the tokenizer key's do) and `==`; the bucket is hash(count) modulo count, so a key
// whose hash is not already reduced still lands inside the array. A new table has no
// buckets: resize it before use (a table without buckets finds and adds nothing).
#ifndef WORDMERE_ENGINE_LXHASHTABLE_H
#define WORDMERE_ENGINE_LXHASHTABLE_H

#include <cstdint>
#include <new>

#include "base/lxlist.h"
#include "base/lxpair.h"

template <typename K, typename V>
class LXHashTable {
public:
    typedef LXPair<K, V> Pair;
    typedef LXList<Pair> Bucket;

    LXHashTable() : m_buckets(nullptr), m_count(0) {}
    ~LXHashTable() { delete[] m_buckets; }

    // Copies get their own bucket array; a copy whose array cannot be allocated is empty.
    LXHashTable(const LXHashTable &other) : m_buckets(nullptr), m_count(0) { copyFrom(other); }
    LXHashTable &operator=(const LXHashTable &other)
    {
        if (this != &other) {
            delete[] m_buckets;
            m_buckets = nullptr;
            m_count = 0;
            copyFrom(other);
        }
        return *this;
    }

    // Rehashes every pair, in bucket and list order, into n new buckets. False (table
    // unchanged) when the array cannot be allocated; n of 0 or the current count succeeds
    // without change.
    bool resize(uint32_t n)
    {
        if (n == 0 || n == m_count)
            return true;
        Bucket *fresh = new (std::nothrow) Bucket[n];
        if (!fresh)
            return false;
        for (uint32_t i = 0; i < m_count; ++i) {
            Bucket &old = m_buckets[i];
            // Relinks the nodes instead of copying them, so a rehash cannot lose pairs.
            while (LXListNode<Pair> *node = old.removeFrontNode()) {
                Bucket &to = fresh[bucketIndex(node->value.first, n)];
                typename Bucket::iterator at = to.end();
                to.insertNode(at, node);
            }
        }
        delete[] m_buckets;
        m_buckets = fresh;
        m_count = n;
        return true;
    }

    // Overwrites the value of an equal key, else appends the pair to its bucket.
    // False when the table has no buckets or the node cannot be allocated.
    bool add(const K &key, const V &value)
    {
        if (m_count == 0)
            return false;
        Bucket &b = m_buckets[bucketIndex(key, m_count)];
        for (typename Bucket::iterator it = b.begin(); !it.isAtEnd(); ++it) {
            if (it->first == key) {
                it->second = value;
                return true;
            }
        }
        return b.push_back(Pair(key, value));
    }
    bool add(const Pair &pair) { return add(pair.first, pair.second); }

    bool find(const K &key, V &value) const
    {
        const Pair *p = lookup(key);
        if (!p)
            return false;
        value = p->second;
        return true;
    }
    bool find(const K &key) const { return lookup(key) != nullptr; }

    // Empties every bucket and keeps the bucket count.
    void clear()
    {
        for (uint32_t i = 0; i < m_count; ++i)
            m_buckets[i].clear();
    }

    uint32_t getBucketCount() const { return m_count; }

private:
    static uint32_t bucketIndex(const K &key, uint32_t n) { return key.hash(n) % n; }

    const Pair *lookup(const K &key) const
    {
        if (m_count == 0)
            return nullptr;
        const Bucket &b = m_buckets[bucketIndex(key, m_count)];
        for (typename Bucket::const_iterator it = b.begin(); !it.isAtEnd(); ++it) {
            if (it->first == key)
                return &*it;
        }
        return nullptr;
    }

    void copyFrom(const LXHashTable &other)
    {
        if (other.m_count == 0)
            return;
        m_buckets = new (std::nothrow) Bucket[other.m_count];
        if (!m_buckets)
            return;
        m_count = other.m_count;
        for (uint32_t i = 0; i < m_count; ++i)
            m_buckets[i] = other.m_buckets[i];
    }

    Bucket *m_buckets;
    uint32_t m_count;
};

#endif

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <string>
#include <vector>

#include "base/lxhashtable.h"
#include "base/lxlist.h"
#include "base/lxpair.h"
#include "base/lxstring.h"

namespace {

template <typename T>
std::vector<T> contents(const LXList<T> &list)
{
    std::vector<T> out;
    for (LXListConstIterator<T> it = list.begin(); !it.isAtEnd(); ++it)
        out.push_back(*it);
    return out;
}

// Walks the list from the tail so that broken prev links show up.
template <typename T>
std::vector<T> contentsBackwards(LXList<T> &list)
{
    std::vector<T> out;
    if (list.empty())
        return out;
    LXListIterator<T> it = list.back();
    for (;;) {
        out.insert(out.begin(), *it);
        if (it.isAtBeginning())
            break;
        --it;
    }
    return out;
}

LXList<int> listOf(std::initializer_list<int> values)
{
    LXList<int> l;
    for (int v : values)
        l.push_back(v);
    return l;
}

typedef std::vector<int> Ints;

TEST(LXList, PushInsertAndLinksAgree)
{
    LXList<int> l;
    EXPECT_TRUE(l.empty());
    EXPECT_TRUE(l.hasOneOrFewerNodes());
    l.push_back(2);
    EXPECT_TRUE(l.hasOneOrFewerNodes());
    l.push_back(4);
    l.push_front(1);
    EXPECT_FALSE(l.hasOneOrFewerNodes());

    LXListIterator<int> it = l.begin();
    ++it; // on 2
    l.insert(it, 3);
    EXPECT_EQ(*it, 3);
    EXPECT_EQ(contents(l), Ints({1, 3, 2, 4}));

    LXListIterator<int> head = l.begin();
    l.insert(head, 0); // before the head: becomes the head
    EXPECT_TRUE(head.isAtBeginning());

    LXListIterator<int> end = l.end();
    l.insert(end, 9); // at the end: appends
    EXPECT_EQ(*end, 9);

    EXPECT_EQ(contents(l), Ints({0, 1, 3, 2, 4, 9}));
    EXPECT_EQ(contentsBackwards(l), contents(l));
    l.insert(l.end(), 10); // temporaries work too
    l.erase(l.back());
    delete l.removeNode(l.begin());
    l.insertNode(l.begin(), new LXListNode<int>(0));
    EXPECT_EQ(l.size(), 6u);
    EXPECT_EQ(l[0], 0);
    EXPECT_EQ(l[5], 9);
    EXPECT_EQ(l.top(), 9);
}

TEST(LXList, RemovingNodesMovesTheIterator)
{
    LXList<int> l = listOf({1, 2, 3});
    LXListIterator<int> it = l.begin();
    ++it;
    LXListNode<int> *n = l.removeNode(it);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->value, 2);
    EXPECT_EQ(*it, 3); // to the following node
    delete n;

    n = l.removeNode(it); // the tail: to the preceding node
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(*it, 1);
    EXPECT_EQ(contents(l), Ints({1}));

    // Reinserting a node taken out puts it before the iterator's node, as the new head.
    l.insertNode(it, n);
    EXPECT_EQ(*it, 3);
    EXPECT_TRUE(it.isAtBeginning());
    EXPECT_EQ(contents(l), Ints({3, 1}));
    EXPECT_EQ(contentsBackwards(l), Ints({3, 1}));

    LXListIterator<int> noNode = l.begin();
    l.insertNode(noNode, nullptr);
    EXPECT_EQ(contents(l), Ints({3, 1}));
}

TEST(LXList, RemovingTheOnlyNodeLeavesAnEmptyListAndTheIteratorAtTheEnd)
{
    LXList<int> l = listOf({7});
    LXListIterator<int> it = l.begin();
    l.erase(it);
    EXPECT_TRUE(l.empty());
    EXPECT_TRUE(it.isAtEnd());
    EXPECT_TRUE(l.begin().isAtEnd());
    EXPECT_TRUE(l.back().isAtEnd());
    l.push_back(8); // head and tail really were reset
    EXPECT_EQ(contents(l), Ints({8}));
    EXPECT_EQ(contentsBackwards(l), Ints({8}));
}

TEST(LXList, IteratorMovement)
{
    LXList<int> empty;
    LXListIterator<int> e = empty.end();
    --e;
    EXPECT_TRUE(e.isAtEnd()) << "decrementing the end of an empty list stays at the end";
    EXPECT_TRUE(e.isAtBeginning());

    LXList<int> l = listOf({1, 2});
    LXListIterator<int> it = l.end();
    --it;
    EXPECT_EQ(*it, 2);
    --it;
    --it; // the head stays
    EXPECT_EQ(*it, 1);
    it++;
    it++;
    it++; // the end stays
    EXPECT_TRUE(it.isAtEnd());
    EXPECT_EQ(it, l.end());

    LXListIterator<int> none;
    EXPECT_TRUE(none.isAtEnd());
    EXPECT_TRUE(none.isAtBeginning());
    it.clear();
    EXPECT_EQ(it, none);

    LXListConstIterator<int> c = l.cend();
    EXPECT_TRUE(c == LXListConstIterator<int>(l.end()));
    --c;
    EXPECT_EQ(*c, 2);
}

TEST(LXList, EraseRanges)
{
    struct Case {
        int first, last; // indexes; -1 = end
        Ints left;
    };
    const Case cases[] = {
        {0, -1, {}},
        {0, 2, {3, 4}},
        {1, 3, {1, 4}},
        {2, -1, {1, 2}},
        {2, 2, {1, 2, 3, 4}},
    };
    for (const Case &c : cases) {
        LXList<int> l = listOf({1, 2, 3, 4});
        LXListIterator<int> first = l.begin(), last = l.begin();
        for (int i = 0; i < c.first; ++i)
            ++first;
        if (c.last < 0)
            last = l.end();
        else
            for (int i = 0; i < c.last; ++i)
                ++last;
        l.erase(first, last);
        EXPECT_EQ(contents(l), c.left) << c.first << ".." << c.last;
        EXPECT_EQ(contentsBackwards(l), c.left);
    }
}

TEST(LXList, ForeignIteratorsChangeNothing)
{
    LXList<int> a = listOf({1, 2});
    LXList<int> b = listOf({5});
    LXListIterator<int> other = b.begin();
    EXPECT_FALSE(a.insert(other, 3));
    EXPECT_EQ(a.removeNode(other), nullptr);
    a.erase(other);
    LXListNode<int> *n = new LXListNode<int>(9);
    a.insertNode(other, n);
    EXPECT_EQ(n->next, nullptr);
    delete n;
    LXListIterator<int> none;
    EXPECT_FALSE(a.insert(none, 3));
    a.erase(other, b.end());
    LXListIterator<int> end = a.end();
    EXPECT_EQ(a.removeNode(end), nullptr);
    EXPECT_EQ(contents(a), Ints({1, 2}));
    EXPECT_EQ(contents(b), Ints({5}));
}

TEST(LXList, StackSetAndCopies)
{
    LXList<int> s;
    s.pop();
    EXPECT_EQ(s.removeFrontNode(), nullptr);
    s.push_back(1);
    s.push_back(2);
    EXPECT_EQ(s.top(), 2);
    s.pop();
    EXPECT_EQ(s.top(), 1);
    s.pop();
    EXPECT_TRUE(s.empty());

    LXList<int> set;
    for (int v : {3, 1, 3, 2, 1})
        set.add(v);
    EXPECT_EQ(contents(set), Ints({3, 1, 2}));

    LXList<int> copy(set);
    copy.push_back(4);
    EXPECT_EQ(contents(set), Ints({3, 1, 2}));
    set = copy;
    set = set;
    EXPECT_EQ(contents(set), Ints({3, 1, 2, 4}));
    EXPECT_EQ(contentsBackwards(set), Ints({3, 1, 2, 4}));
    set.clear();
    EXPECT_TRUE(set.empty());
    EXPECT_EQ(contents(copy), Ints({3, 1, 2, 4}));
}

struct Keyed {
    int key;
    int tag; // arrival order, to see stability
};

int byKey(Keyed &a, Keyed &b, void *context)
{
    ++*static_cast<int *>(context);
    return a.key - b.key;
}

TEST(LXList, MergeSortOrdersByRelinkingNodes)
{
    const std::vector<std::vector<int>> inputs = {
        {}, {5}, {2, 1}, {1, 2, 3}, {3, 1, 2, 1, 3, 0, 2, 1}, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 9, 8},
    };
    for (const auto &keys : inputs) {
        LXList<Keyed> l;
        for (size_t i = 0; i < keys.size(); ++i)
            l.push_back(Keyed{keys[i], static_cast<int>(i)});
        std::vector<const Keyed *> elementsBefore;
        for (LXListIterator<Keyed> it = l.begin(); !it.isAtEnd(); ++it)
            elementsBefore.push_back(&*it);
        int calls = 0;
        l.mergeSort(byKey, &calls);

        std::vector<int> sortedKeys(keys);
        std::sort(sortedKeys.begin(), sortedKeys.end());
        std::vector<int> gotKeys, tags;
        for (LXListIterator<Keyed> it = l.begin(); !it.isAtEnd(); ++it) {
            gotKeys.push_back(it->key);
            tags.push_back(it->tag);
            EXPECT_EQ(&*it, elementsBefore[it->tag]) << "elements are relinked, never copied";
        }
        EXPECT_EQ(gotKeys, sortedKeys);
        std::sort(tags.begin(), tags.end());
        for (size_t i = 0; i < tags.size(); ++i)
            EXPECT_EQ(tags[i], static_cast<int>(i)) << "every node is still there once";
        std::vector<Keyed> back = contentsBackwards(l);
        ASSERT_EQ(back.size(), keys.size());
        for (size_t i = 0; i < back.size(); ++i)
            EXPECT_EQ(back[i].key, gotKeys[i]);
        if (keys.size() <= 1) {
            EXPECT_EQ(calls, 0);
        }
    }
}

TEST(LXList, SortedInsertionOfNumberPairsDropsExactDuplicates)
{
    typedef LXPair<uint32_t, int> P;
    LXList<P> l;
    const P in[] = {{5, 1}, {2, 9}, {5, 0}, {0xFFFFFFFFu, 0}, {5, 1}, {2, 9}, {3, 3}};
    for (const P &p : in)
        l.insert(p);
    std::vector<std::pair<uint32_t, int>> got;
    for (LXListIterator<P> it = l.begin(); !it.isAtEnd(); ++it)
        got.push_back({it->first, it->second});
    // Numbers compare unsigned: 0xFFFFFFFF is the largest, not -1.
    EXPECT_EQ(got, (std::vector<std::pair<uint32_t, int>>{{2, 9}, {3, 3}, {5, 0}, {5, 1}, {0xFFFFFFFFu, 0}}));
}

TEST(LXPair, DefaultsCopiesAndOrder)
{
    LXPair<std::string, uint32_t> p;
    EXPECT_EQ(p.first, "");
    EXPECT_EQ(p.second, 0u);
    LXPair<std::string, uint32_t> a("b", 1), b("b", 2), c("a", 9);
    LXPair<std::string, uint32_t> copy = a;
    EXPECT_TRUE(copy == a);
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a < b);
    EXPECT_FALSE(b < a);
    EXPECT_TRUE(c < a);
    EXPECT_FALSE(a < copy);
}

// A key whose hash is the number itself, so the test chooses the buckets.
struct IntKey {
    uint32_t v;
    uint32_t hash(uint32_t n) const { return v % n; }
    bool operator==(const IntKey &o) const { return v == o.v; }
};

TEST(LXHashTable, AddFindOverwriteAndClear)
{
    LXHashTable<IntKey, int> t;
    EXPECT_EQ(t.getBucketCount(), 0u);
    EXPECT_FALSE(t.add(IntKey{1}, 1)) << "no buckets: nothing is added";
    EXPECT_FALSE(t.find(IntKey{1}));

    ASSERT_TRUE(t.resize(7));
    // 3, 10 and 17 share a bucket.
    t.add(IntKey{3}, 30);
    t.add(IntKey{10}, 100);
    t.add(LXPair<IntKey, int>(IntKey{17}, 170));
    t.add(IntKey{10}, 101);
    int v = 0;
    EXPECT_TRUE(t.find(IntKey{10}, v));
    EXPECT_EQ(v, 101);
    EXPECT_TRUE(t.find(IntKey{17}, v));
    EXPECT_EQ(v, 170);
    EXPECT_FALSE(t.find(IntKey{24}, v));
    EXPECT_EQ(v, 170) << "a miss leaves the value alone";

    LXHashTable<IntKey, int> copy(t);
    t.clear();
    EXPECT_EQ(t.getBucketCount(), 7u);
    EXPECT_FALSE(t.find(IntKey{3}));
    EXPECT_TRUE(copy.find(IntKey{3}, v));
    EXPECT_EQ(v, 30);
    t = copy;
    copy.clear();
    EXPECT_TRUE(t.find(IntKey{3}));
}

TEST(LXHashTable, ResizeKeepsEveryEntryFindable)
{
    LXHashTable<IntKey, uint32_t> t;
    ASSERT_TRUE(t.resize(3));
    for (uint32_t i = 0; i < 1000; ++i)
        t.add(IntKey{i * 7919u}, i);
    uint32_t expected = 3;
    for (uint32_t n : {397u, 397u, 0u, 1u, 401u}) {
        ASSERT_TRUE(t.resize(n));
        if (n != 0)
            expected = n; // 0 keeps the buckets there are
        EXPECT_EQ(t.getBucketCount(), expected);
        for (uint32_t i = 0; i < 1000; ++i) {
            uint32_t v = 0;
            ASSERT_TRUE(t.find(IntKey{i * 7919u}, v)) << "after resize(" << n << ") key " << i;
            EXPECT_EQ(v, i);
        }
    }
}

lxstring u8(const char *s) { return lxstring(s, LXEncodingUtf8); }

TEST(LXHashTable, StringKeysAreTheSameUnderCollatingEquality)
{
    LXHashTable<lxstring, uint32_t> t;
    ASSERT_TRUE(t.resize(397));
    t.add(u8("stra\xC3\x9F" "e"), 1);
    t.add(u8("strasse"), 2); // the same key: overwrites
    t.add(u8("\xC3\x86" "ble"), 3);
    uint32_t v = 0;
    EXPECT_TRUE(t.find(u8("stra\xC3\x9F" "e"), v));
    EXPECT_EQ(v, 2u);
    EXPECT_TRUE(t.find(u8("AEble"), v));
    EXPECT_EQ(v, 3u);
    EXPECT_FALSE(t.find(u8("strase")));

    // Keys in another encoding are the same keys.
    lxstring wide = u8("strasse");
    wide.setEncoding(LXEncodingUnits16);
    EXPECT_TRUE(t.find(wide, v));
    EXPECT_EQ(v, 2u);
}

TEST(LXHashTable, StringTableKeepsEntriesAcrossResize)
{
    LXHashTable<lxstring, uint32_t> t;
    ASSERT_TRUE(t.resize(1));
    std::vector<std::string> words;
    for (int i = 0; i < 500; ++i)
        words.push_back("w" + std::to_string(i * 37));
    for (size_t i = 0; i < words.size(); ++i)
        t.add(u8(words[i].c_str()), static_cast<uint32_t>(i));
    ASSERT_TRUE(t.resize(397));
    for (size_t i = 0; i < words.size(); ++i) {
        uint32_t v = 0;
        ASSERT_TRUE(t.find(u8(words[i].c_str()), v)) << words[i];
        EXPECT_EQ(v, i);
    }
}

TEST(LXList, StringPairsSortedInsertionAndSet)
{
    typedef LXPair<lxstring, uint32_t> P;
    LXList<P> l;
    l.insert(P(u8("b"), 2));
    l.insert(P(u8("a"), 5));
    l.insert(P(u8("b"), 1));
    l.insert(P(u8("B"), 1)); // capitals sort before small letters of the same base
    l.insert(P(u8("a"), 5)); // equal in both members: not added
    l.insert(P(u8("stra\xC3\x9F" "e"), 1));
    l.insert(P(u8("strasse"), 1)); // equal under the collation
    std::vector<std::string> got;
    for (LXListIterator<P> it = l.begin(); !it.isAtEnd(); ++it)
        got.push_back(std::string(it->first.c_str()) + std::to_string(it->second));
    EXPECT_EQ(got, (std::vector<std::string>{"a5", "B1", "b1", "b2", "stra\xC3\x9F" "e1"}));

    LXList<lxstring> set;
    for (const char *w : {"x", "\xC3\x86", "AE", "y", "x"})
        set.add(u8(w));
    EXPECT_EQ(set.size(), 3u) << "AE is already there as the ligature";
}

} // namespace

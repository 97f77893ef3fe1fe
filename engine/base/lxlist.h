// LXList: the engine's doubly linked list, with its iterators.
//
// The list keeps only its head and tail (no element count), owns its nodes and never
// throws: a node that cannot be allocated drops the element being added. Iterators are
// (list, node) pairs; a null node is the end position. Operations that take an iterator
// ignore one that belongs to another list.
#ifndef WORDMERE_ENGINE_LXLIST_H
#define WORDMERE_ENGINE_LXLIST_H

#include <cstdint>
#include <new>

template <typename T> class LXList;
template <typename T> class LXListIterator;
template <typename T> class LXListConstIterator;

template <typename T>
struct LXListNode {
    T value;
    LXListNode *next;
    LXListNode *prev;

    explicit LXListNode(const T &v) : value(v), next(nullptr), prev(nullptr) {}
    explicit LXListNode(T &&v) : value(static_cast<T &&>(v)), next(nullptr), prev(nullptr) {}
};

// What both iterators share: the (list, node) pair and the moves over it. L and N are
// LXList<T> and LXListNode<T>, both const for the const iterator.
template <typename Iterator, typename L, typename N>
class LXListPosition {
public:
    Iterator &operator++()
    {
        if (m_node)
            m_node = m_node->next;
        return self();
    }
    Iterator operator++(int)
    {
        Iterator old(self());
        ++*this;
        return old;
    }
    // From the end to the tail; the head stays where it is.
    Iterator &operator--()
    {
        if (!m_node) {
            if (m_list)
                m_node = m_list->m_tail;
        } else if (m_node->prev) {
            m_node = m_node->prev;
        }
        return self();
    }
    Iterator operator--(int)
    {
        Iterator old(self());
        --*this;
        return old;
    }

    bool isAtEnd() const { return m_node == nullptr; }
    bool isAtBeginning() const { return m_list == nullptr || m_node == m_list->m_head; }
    void clear()
    {
        m_list = nullptr;
        m_node = nullptr;
    }

    L *getList() const { return m_list; }
    N *getNode() const { return m_node; }

    bool operator==(const Iterator &o) const { return m_list == o.m_list && m_node == o.m_node; }
    bool operator!=(const Iterator &o) const { return !(*this == o); }

protected:
    LXListPosition(L *list, N *node) : m_list(list), m_node(node) {}

    L *m_list;
    N *m_node;

private:
    Iterator &self() { return static_cast<Iterator &>(*this); }
    const Iterator &self() const { return static_cast<const Iterator &>(*this); }
};

template <typename T>
class LXListIterator : public LXListPosition<LXListIterator<T>, LXList<T>, LXListNode<T>> {
    typedef LXListPosition<LXListIterator<T>, LXList<T>, LXListNode<T>> Position;

public:
    typedef LXListNode<T> Node;

    LXListIterator() : Position(nullptr, nullptr) {}
    LXListIterator(LXList<T> *list, Node *node) : Position(list, node) {}

    T &operator*() const { return this->m_node->value; }
    T *operator->() const { return &this->m_node->value; }

private:
    friend class LXList<T>;
};

template <typename T>
class LXListConstIterator
    : public LXListPosition<LXListConstIterator<T>, const LXList<T>, const LXListNode<T>> {
    typedef LXListPosition<LXListConstIterator<T>, const LXList<T>, const LXListNode<T>> Position;

public:
    typedef LXListNode<T> Node;

    LXListConstIterator() : Position(nullptr, nullptr) {}
    LXListConstIterator(const LXList<T> *list, const Node *node) : Position(list, node) {}
    LXListConstIterator(const LXListIterator<T> &it) : Position(it.getList(), it.getNode()) {}

    const T &operator*() const { return this->m_node->value; }
    const T *operator->() const { return &this->m_node->value; }
};

template <typename T>
class LXList {
public:
    typedef LXListNode<T> Node;
    typedef LXListIterator<T> iterator;
    typedef LXListConstIterator<T> const_iterator;

    LXList() : m_head(nullptr), m_tail(nullptr) {}
    LXList(const LXList &other) : m_head(nullptr), m_tail(nullptr) { copyFrom(other); }
    LXList &operator=(const LXList &other)
    {
        if (this != &other) {
            clear();
            copyFrom(other);
        }
        return *this;
    }
    // A move hands the nodes over and leaves the other list empty.
    LXList(LXList &&other) noexcept : m_head(other.m_head), m_tail(other.m_tail)
    {
        other.m_head = nullptr;
        other.m_tail = nullptr;
    }
    LXList &operator=(LXList &&other) noexcept
    {
        if (this != &other) {
            clear();
            m_head = other.m_head;
            m_tail = other.m_tail;
            other.m_head = nullptr;
            other.m_tail = nullptr;
        }
        return *this;
    }
    ~LXList() { Destroy(); }

    // Appends/prepends a copy; false (and nothing added) when the node cannot be allocated.
    bool push_back(const T &value)
    {
        Node *n = newNode(value);
        if (!n)
            return false;
        linkBefore(nullptr, n);
        return true;
    }
    // Appends the value itself, moved into the new node.
    bool push_back(T &&value)
    {
        Node *n = new (std::nothrow) Node(static_cast<T &&>(value));
        if (!n)
            return false;
        linkBefore(nullptr, n);
        return true;
    }
    bool push_front(const T &value)
    {
        Node *n = newNode(value);
        if (!n)
            return false;
        linkBefore(m_head, n);
        return true;
    }

    // A new node before the iterator's node (at the tail when it is at the end); the
    // iterator is then on the new node.
    bool insert(iterator &it, const T &value)
    {
        if (it.m_list != this)
            return false;
        Node *n = newNode(value);
        if (!n)
            return false;
        linkBefore(it.m_node, n);
        it.m_node = n;
        return true;
    }

    // Forms for a temporary iterator, as in insert(list.end(), value).
    bool insert(iterator &&it, const T &value) { return insert(it, value); }
    void insertNode(iterator &&it, Node *node) { insertNode(it, node); }
    Node *removeNode(iterator &&it) { return removeNode(it); }
    void erase(iterator &&it) { erase(it); }

    // The same for a node the caller owns (for instance one taken out by removeNode).
    void insertNode(iterator &it, Node *node)
    {
        if (it.m_list != this || !node)
            return;
        linkBefore(it.m_node, node);
        it.m_node = node;
    }

    // Sorted insertion under T's <, for lists kept in order (the (string, number) and
    // (number, string) pair lists): the value goes before the first element that is not
    // smaller, unless that element is equal to it, in which case nothing is added.
    bool insert(const T &value)
    {
        Node *at = m_head;
        while (at && at->value < value)
            at = at->next;
        if (at && at->value == value)
            return false;
        Node *n = newNode(value);
        if (!n)
            return false;
        linkBefore(at, n);
        return true;
    }

    // Unlinks the iterator's node and hands it to the caller. The iterator moves to the
    // following node, or to the preceding one when there is none.
    Node *removeNode(iterator &it)
    {
        if (it.m_list != this || !it.m_node)
            return nullptr;
        Node *n = it.m_node;
        it.m_node = n->next ? n->next : n->prev;
        unlink(n);
        return n;
    }

    void erase(iterator &it) { delete removeNode(it); }

    // Deletes from first up to but excluding last (last at the end: to the tail).
    void erase(iterator first, iterator last)
    {
        if (first.m_list != this)
            return;
        Node *n = first.m_node;
        Node *stop = last.m_list == this ? last.m_node : nullptr;
        while (n && n != stop) {
            Node *next = n->next;
            unlink(n);
            delete n;
            n = next;
        }
    }

    // Deletes the tail node (the list used as a stack with push_back and top).
    void pop()
    {
        if (!m_tail)
            return;
        Node *n = m_tail;
        unlink(n);
        delete n;
    }

    void clear()
    {
        Destroy();
        m_head = nullptr;
        m_tail = nullptr;
    }

    // Deletes every node without resetting head and tail; only for the destructor.
    void Destroy()
    {
        Node *n = m_head;
        while (n) {
            Node *next = n->next;
            delete n;
            n = next;
        }
    }

    iterator begin() { return iterator(this, m_head); }
    iterator end() { return iterator(this, nullptr); }
    iterator back() { return iterator(this, m_tail); }
    const_iterator begin() const { return const_iterator(this, m_head); }
    const_iterator end() const { return const_iterator(this, nullptr); }
    const_iterator back() const { return const_iterator(this, m_tail); }
    const_iterator cbegin() const { return const_iterator(this, m_head); }
    const_iterator cend() const { return const_iterator(this, nullptr); }

    // Linear: the list keeps no count.
    uint32_t size() const
    {
        uint32_t n = 0;
        for (const Node *p = m_head; p; p = p->next)
            ++n;
        return n;
    }
    bool empty() const { return m_head == nullptr; }
    bool hasOneOrFewerNodes() const { return m_head == m_tail; }

    // The tail element; the list must not be empty.
    T &top() { return m_tail->value; }
    const T &top() const { return m_tail->value; }

    // The n-th element from the head; n must be below size().
    T &operator[](uint32_t n)
    {
        Node *p = m_head;
        while (n-- > 0)
            p = p->next;
        return p->value;
    }
    const T &operator[](uint32_t n) const
    {
        const Node *p = m_head;
        while (n-- > 0)
            p = p->next;
        return p->value;
    }

    // Appends a copy unless an equal element (under ==) is already there: a set kept in
    // arrival order. True when the value was added.
    bool add(const T &value)
    {
        for (const Node *p = m_head; p; p = p->next) {
            if (p->value == value)
                return false;
        }
        return push_back(value);
    }

    Node *removeFrontNode()
    {
        Node *n = m_head;
        if (n)
            unlink(n);
        return n;
    }

    // Merge sort by relinking nodes: nodes are dealt alternately to two lists (each put at
    // the front of its list, which reverses them, so equal elements need not keep their
    // order), both are sorted, then merged taking the first list's head while
    // compare(first, second) <= 0.
    void mergeSort(int (*compare)(T &, T &, void *context), void *context)
    {
        if (hasOneOrFewerNodes())
            return;
        LXList a, b;
        bool toA = true;
        while (Node *n = removeFrontNode()) {
            (toA ? a : b).linkBefore(toA ? a.m_head : b.m_head, n);
            toA = !toA;
        }
        a.mergeSort(compare, context);
        b.mergeSort(compare, context);
        while (a.m_head && b.m_head) {
            LXList &from = compare(a.m_head->value, b.m_head->value, context) <= 0 ? a : b;
            Node *n = from.removeFrontNode();
            linkBefore(nullptr, n);
        }
        LXList &rest = a.m_head ? a : b;
        while (Node *n = rest.removeFrontNode())
            linkBefore(nullptr, n);
    }

private:
    template <typename, typename, typename> friend class LXListPosition;

    static Node *newNode(const T &value) { return new (std::nothrow) Node(value); }

    // Links n before `at`; a null `at` means at the tail.
    void linkBefore(Node *at, Node *n)
    {
        n->next = at;
        n->prev = at ? at->prev : m_tail;
        if (n->prev)
            n->prev->next = n;
        else
            m_head = n;
        if (at)
            at->prev = n;
        else
            m_tail = n;
    }

    void unlink(Node *n)
    {
        if (n->prev)
            n->prev->next = n->next;
        else
            m_head = n->next;
        if (n->next)
            n->next->prev = n->prev;
        else
            m_tail = n->prev;
        n->next = nullptr;
        n->prev = nullptr;
    }

    // Appends copies of the source's elements; stops at the first node that cannot be made.
    void copyFrom(const LXList &other)
    {
        for (const Node *p = other.m_head; p; p = p->next) {
            if (!push_back(p->value))
                break;
        }
    }

    Node *m_head;
    Node *m_tail;
};

#endif

// LXPair: the engine's plain pair of two values.
#ifndef WORDMERE_ENGINE_LXPAIR_H
#define WORDMERE_ENGINE_LXPAIR_H

template <typename A, typename B>
struct LXPair {
    A first;
    B second;

    // Members of class type get their own defaults; numbers and enumerations are
    // value-initialised (zero), although the engine always sets them before reading.
    LXPair() : first(), second() {}
    LXPair(const A &a, const B &b) : first(a), second(b) {}
    LXPair(const LXPair &) = default;
    LXPair &operator=(const LXPair &) = default;
    LXPair(LXPair &&) = default;
    LXPair &operator=(LXPair &&) = default;
    ~LXPair() = default;
};

// Both members equal, each under its own ==; for lxstring members that is the collating
// equality, so a pair holding straße equals one holding strasse.
template <typename A, typename B>
bool operator==(const LXPair<A, B> &a, const LXPair<A, B> &b)
{
    return a.first == b.first && a.second == b.second;
}

template <typename A, typename B>
bool operator!=(const LXPair<A, B> &a, const LXPair<A, B> &b)
{
    return !(a == b);
}

// The first members decide; when they are equal the second members decide.
template <typename A, typename B>
bool operator<(const LXPair<A, B> &a, const LXPair<A, B> &b)
{
    if (a.first < b.first)
        return true;
    if (b.first < a.first)
        return false;
    return a.second < b.second;
}

#endif

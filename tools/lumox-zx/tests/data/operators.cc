// Assignment operators that do not return *this, and operators of the
// More Effective C++ items in classes whose names hold "prefix" and
// "postfix".
#include <cstddef>

namespace geo {
// Returns void, defined in the class: g++ quotes only 'operator='.
struct Point {
    Point() : x(0) {}
    void operator=(const Point& other)
    {
        x = other.x;
    }
    int x;
};

// Returns a copy of another object, defined outside the class.
class Segment {
public:
    Segment() : length(0) {}
    Segment operator=(const Segment& other);
    std::size_t length;
};

Segment Segment::operator=(const Segment& other)
{
    length = other.length;
    return other;
}
}  // namespace geo

// Returns void, defined outside the class.
struct Grid {
    Grid() : cells(0) {}
    void operator=(int n);
    int cells;
};
void Grid::operator=(int n) { cells = n; }

class postfix_counter {
public:
    postfix_counter() : _n(0) {}
    bool operator&&(const postfix_counter& o) const { return _n && o._n; }
    postfix_counter& operator++(int) { ++_n; return *this; }
    postfix_counter operator--() { --_n; return *this; }

private:
    int _n;
};

struct prefix_list {
    prefix_list() : _n(0) {}
    bool operator||(const prefix_list& o) const { return _n || o._n; }
    prefix_list operator,(const prefix_list& o) const { return o; }
    int _n;
};

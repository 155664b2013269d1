// Members and bases initialized out of order, and deletes through a base
// without a virtual destructor.
class Range {
public:
    Range(int lo, int hi) : _hi(hi), _lo(lo) {}
    int width() const { return _hi - _lo; }

private:
    int _lo;
    int _hi;
};

struct Left {
    Left() : l(0) {}
    int l;
};
struct Right {
    Right() : r(0) {}
    int r;
};
struct Both : Left, Right {
    Both();
};
Both::Both() : Right(), Left() {}

struct Base {
    virtual ~Base() {}
};
struct Shape {
    virtual double area() const { return 0; }
};
struct Abstract {
    virtual void draw() = 0;
};

void drop(Shape* s, Abstract* a)
{
    delete s;
    delete a;
}

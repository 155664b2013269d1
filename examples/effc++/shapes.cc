// A small drawing library written without the Effective C++ habits: run
// lumox-zx on it (see README) and each class below shows up with the items
// it breaks.
#include <cstring>

// Item 11: owns memory through a pointer but has no copy constructor or
// assignment operator, so copies share and double-delete the buffer.
// Item 12: its members are assigned in the constructor body.
class Label {
public:
    Label(const char* text)
    {
        _length = strlen(text);
        _text = new char[_length + 1];
        strcpy(_text, text);
    }
    ~Label() { delete[] _text; }

private:
    char* _text;
    size_t _length;
};

// Item 14: a base class with virtual functions and a destructor that is not
// virtual; deleting a Circle through a Shape* is undefined.
class Shape {
public:
    virtual double area() const { return 0; }
    ~Shape() {}
};

class Circle : public Shape {
public:
    explicit Circle(double r) : _r(r) {}
    double area() const override { return 3.14159 * _r * _r; }

private:
    double _r;
};

// Item 15: operator= does not return a reference to *this.
// Item 23: operator+ returns a reference where it must return an object.
// More Effective C++ item 6: the prefix increment returns a copy.
class Point {
public:
    Point(int x, int y) : _x(x), _y(y) {}
    void operator=(const Point& other)
    {
        _x = other._x;
        _y = other._y;
    }
    Point& operator+(const Point& other)
    {
        _x += other._x;
        _y += other._y;
        return *this;
    }
    Point operator++()
    {
        ++_x;
        return *this;
    }

private:
    int _x;
    int _y;
};

int main()
{
    Label title("shapes");
    Shape* s = new Circle(2.0);
    double a = s->area();
    delete s;
    Point p(1, 2), q(3, 4);
    p = q;
    ++(p + q);
    return a > 0 ? 0 : 1;
}

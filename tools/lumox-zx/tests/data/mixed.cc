// Effective C++ warnings, an error and another warning, interleaved.
class Buffer {
public:
    Buffer() { _size = 0; }

private:
    int _size;
};

int size() { return nothing; }

struct Shape {
    virtual double area() const { return 0; }
};

int unused()
{
    int x;
    return 0;
}

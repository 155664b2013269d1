// A null pointer that travels through a call, and a division by zero.
#include <vector>

static int deref(int* p)
{
    return *p;
}

int caller()
{
    int* none = nullptr;
    return deref(none);
}

int ratio(int a)
{
    int zero = 0;
    return a / zero;
}

int element(const std::vector<int>& v)
{
    for (unsigned i = 0; i <= v.size(); ++i)
        if (v[i] == 3)
            return i;
    return -1;
}

// A class template: the violations of an instance name it with its
// arguments.
namespace store {
template <class T> class Holder {
public:
    Holder(T* p) { _p = p; }
    virtual T* get() const { return _p; }

private:
    T* _p;
};
}  // namespace store

store::Holder<int> held(nullptr);

// Loses a small linked list and a copied string: the leak check at exit
// reports the direct leaks (the head and the string) and the indirect one
// (the node only the head pointed to).
#include <cstdio>
#include <cstring>
#include <string>

struct Node {
    Node* next;
    std::string name;
};

static Node* makeNode(const char* name, Node* next)
{
    Node* n = new Node;
    n->next = next;
    n->name = name;
    return n;
}

static char* copyOf(const char* text)
{
    char* copy = new char[strlen(text) + 1];
    strcpy(copy, text);
    return copy;
}

int main()
{
    Node* list = makeNode("head", makeNode("tail", nullptr));
    char* title = copyOf("a title nobody frees");
    std::printf("%s -> %s: %s\n", list->name.c_str(), list->next->name.c_str(), title);
    list = nullptr;
    title = nullptr;
    return 0;
}

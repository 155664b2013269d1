#pragma once

// Where the program tells the user how things stand: a transient message,
// a lasting one, and the counts of connections and shown messages. The main
// window's status bar registers itself; without it the calls do nothing.
class StatusView {
public:
    virtual ~StatusView() {}

    virtual void displayMessage(const char* text) = 0;
    // A message that stays until the next one, for what the user must not
    // miss, such as why a report file could not be saved.
    virtual void displayUntilNext(const char* text) = 0;
    virtual void nConnections(int n) = 0;
    virtual void nMessages(int n) = 0;

    static StatusView* current() { return _current; }
    static void install(StatusView* view) { _current = view; }

    // The same calls on the registered view, when there is one.
    static void show(const char* text)
    {
        if (_current)
            _current->displayMessage(text);
    }
    static void showUntilNext(const char* text)
    {
        if (_current)
            _current->displayUntilNext(text);
    }
    static void connections(int n)
    {
        if (_current)
            _current->nConnections(n);
    }
    static void messages(int n)
    {
        if (_current)
            _current->nMessages(n);
    }

private:
    static StatusView* _current;
};

#pragma once
// CShell opens documents and web pages with the desktop's default program. Tests
// install a handler to see what would have been opened instead of starting programs.

#include <QUrl>
#include <functional>

class CShell {
public:
    using Handler = std::function<bool(const QUrl&)>;

    // True when the desktop accepted the request.
    static bool open(const QUrl& url);
    static void setHandler(Handler handler);
};

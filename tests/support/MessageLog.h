#pragma once

#include "editor/clsScintilla.h"

#include <string>
#include <vector>

// Every request one editor sends to its component, in order.
class MessageLog
{
public:
    struct Sent
    {
        int msg;
        long wParam;
        long lParam;
        std::string text; // the string a request carries, if any
    };

    explicit MessageLog(clsScintilla &sci)
    {
        sci.ObserveMessages([this](int msg, long w, long l, const char *text) {
            all.push_back({msg, w, l, text ? std::string(text) : std::string()});
        });
    }

    std::vector<Sent> Of(int msg) const
    {
        std::vector<Sent> found;
        for (const Sent &s : all)
            if (s.msg == msg)
                found.push_back(s);
        return found;
    }

    void clear() { all.clear(); }

    std::vector<Sent> all;
};

#include "TModalLoop.h"

#include <QEventLoop>

#include <algorithm>

void TModalLoop::Run() {
    QEventLoop loop;
    Running.push_back(&loop);
    loop.exec();
    // Quit has already taken the loop off the list, unless an exception unwound through exec.
    Running.erase(std::remove(Running.begin(), Running.end(), &loop), Running.end());
}

void TModalLoop::Quit() {
    if (Running.empty())
        return;
    Running.back()->quit();
    Running.pop_back();
}

#pragma once
// Makes a FIFO in a file's place. Code that opens it blocking would wait for ever: the returned
// thread (stopped and joined when it goes) opens the FIFO's other end every second, so such a
// fault shows as a wrong result instead of a hung test. An empty thread when mkfifo fails.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

inline std::jthread FifoInPlace(const std::string& path) {
    if (mkfifo(path.c_str(), 0600) != 0)
        return {};
    return std::jthread([path](std::stop_token stop) {
        for (int tick = 1; !stop.stop_requested(); ++tick) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            struct stat info;
            const int end = tick % 100 == 0 && stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode)
                                ? open(path.c_str(), O_RDWR | O_NONBLOCK) : -1;
            if (end >= 0)
                close(end);
        }
    });
}

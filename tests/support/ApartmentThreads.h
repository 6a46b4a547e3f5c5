// Runs one body on several threads at once, each thread in its own
// single-threaded apartment, as several hosts in one process would: all are
// released at the same moment, so that their first calls into the module
// meet. Returns when every thread has ended.
#pragma once

#include "ComApartment.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

template <typename Body>
void RunInApartmentsAtOnce(int count, Body body) {
    std::mutex lock;
    std::condition_variable released;
    int ready = 0;
    std::vector<std::thread> threads;
    for (int index = 0; index < count; ++index) {
        threads.emplace_back([&, index] {
            const ComApartment apartment;
            {
                std::unique_lock<std::mutex> held(lock);
                if (++ready == count) released.notify_all();
                released.wait(held, [&] { return ready == count; });
            }
            body(index);
        });
    }
    for (std::thread& thread : threads) thread.join();
}

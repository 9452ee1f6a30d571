#include "TWorkerTable.h"

#include <map>
#include <mutex>

namespace {

struct Table {
    std::mutex Lock;
    std::map<Twaveoperation, TWorker> Workers;
};

Table& Instance() {
    static Table table;
    return table;
}

} // namespace

void TWorkerTable::Register(Twaveoperation code, TWorker worker) {
    std::lock_guard guard(Instance().Lock);
    Instance().Workers[code] = std::move(worker);
}

void TWorkerTable::Unregister(Twaveoperation code) {
    std::lock_guard guard(Instance().Lock);
    Instance().Workers.erase(code);
}

TWorker TWorkerTable::Find(Twaveoperation code) {
    std::lock_guard guard(Instance().Lock);
    const auto found = Instance().Workers.find(code);
    return found == Instance().Workers.end() ? TWorker() : found->second;
}

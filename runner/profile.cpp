#include "profile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace runner {

namespace {

struct Costs {
    std::vector<double> us;
    std::vector<uint64_t> instructions, imports;
};

std::map<std::pair<std::wstring, UINT>, Costs> *s_costs = nullptr;

const wchar_t *ProfileFile() {
    static const wchar_t *file = [] {
        const wchar_t *named = _wgetenv(L"ZB_RUNNER_PROFILE");
        return named && *named ? named : nullptr;
    }();
    return file;
}

template <typename T> T Percentile(std::vector<T> values, int percent) {
    std::sort(values.begin(), values.end());
    return values[(values.size() - 1) * percent / 100];
}

} // namespace

bool Profiling() {
    return ProfileFile() != nullptr;
}

double NowUs() {
    static const double perUs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1e6;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / perUs;
}

void CountMessage(HWND hwnd, UINT message, const MessageCost &cost) {
    if (!s_costs)
        s_costs = new std::map<std::pair<std::wstring, UINT>, Costs>;
    wchar_t name[64] = L"?";
    GetClassNameW(hwnd, name, ARRAYSIZE(name));
    Costs &costs = (*s_costs)[{name, message}];
    costs.us.push_back(cost.us);
    costs.instructions.push_back(cost.instructions);
    costs.imports.push_back(cost.imports);
}

// "CLASS MESSAGE COUNT MEDIAN_US P10_US P90_US MEDIAN_INSTRUCTIONS MEDIAN_IMPORTS"
void WriteProfile() {
    if (!Profiling() || !s_costs)
        return;
    FILE *file = _wfopen(ProfileFile(), L"w");
    if (!file)
        return;
    for (const auto &[key, costs] : *s_costs)
        std::fprintf(file, "%ls %#x %zu %.1f %.1f %.1f %llu %llu\n", key.first.c_str(), key.second,
                     costs.us.size(), Percentile(costs.us, 50), Percentile(costs.us, 10),
                     Percentile(costs.us, 90),
                     static_cast<unsigned long long>(Percentile(costs.instructions, 50)),
                     static_cast<unsigned long long>(Percentile(costs.imports, 50)));
    std::fclose(file);
    s_costs->clear();
}

} // namespace runner

#include "TestFiles.h"

#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sondrix-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    Folder = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
}

std::string TempDir::File(const std::string& name) const {
    return (std::filesystem::path(Folder) / name).string();
}

std::string RunProgram(const std::vector<std::string>& argv) {
    QStringList arguments;
    for (size_t i = 1; i < argv.size(); ++i)
        arguments << QString::fromStdString(argv[i]);
    QProcess process;
    process.start(QString::fromStdString(argv.at(0)), arguments);
    if (!process.waitForStarted(30000))
        throw std::runtime_error("cannot start " + argv[0]);
    process.closeWriteChannel();
    process.waitForFinished(600000);
    const QByteArray out = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw std::runtime_error(argv[0] +
                                 " failed: " + process.readAllStandardError().toStdString());
    return out.toStdString();
}

bool HaveProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string rest = path ? path : "";
    size_t start = 0;
    while (start <= rest.size()) {
        const size_t end = std::min(rest.find(':', start), rest.size());
        if (std::filesystem::exists(std::filesystem::path(rest.substr(start, end - start)) / name))
            return true;
        start = end + 1;
    }
    return false;
}

std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::vector<int16_t> ToSamples(const std::vector<uint8_t>& bytes) {
    std::vector<int16_t> samples(bytes.size() / 2);
    if (!samples.empty())
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

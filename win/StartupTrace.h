#pragma once
// Where start-up time goes, for the benchmark only. With the environment variable
// SIBORANG_STARTUP_TRACE naming a file, the program writes there how long each step of its
// start-up took, from the process's creation on; without it every call below is a test of a
// flag read once.
namespace siborang::win::startup {

// The time since the previous mark (less what sections took meanwhile) belongs to `step`.
void Mark(const char* step) noexcept;

// Time spent inside adds up under `kind` (fonts, pictures) across all the places it happens.
class Section {
public:
    explicit Section(const char* kind) noexcept;
    ~Section();
    Section(const Section&) = delete;
    Section& operator=(const Section&) = delete;

private:
    const char* kind_;
    long long start_;
};

// Writes the steps and sections to the file, once; later calls do nothing.
void Finish() noexcept;

}  // namespace siborang::win::startup

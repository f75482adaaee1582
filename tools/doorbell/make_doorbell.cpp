// Writes the doorbell sound that Nimbrel plays for flagged callers: a two-note chime ("ding-dong"),
// 16-bit mono PCM at 22,050 Hz. Usage: make_doorbell OUTPUT.wav
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace
{

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

// A struck bar: a fundamental with two inharmonic partials, each dying away at its own pace.
void addChime(std::vector<double>& samples, double startSeconds, double frequency)
{
    const struct {
        double ratio, level, decay;
    } partials[] = {{1.0, 1.0, 2.2}, {2.76, 0.35, 5.0}, {5.4, 0.12, 9.0}};
    const size_t start = size_t(startSeconds * kRate);
    for (size_t i = start; i < samples.size(); ++i) {
        const double t = double(i - start) / kRate;
        const double attack = std::min(1.0, t * 400.0);
        for (const auto& p : partials)
            samples[i] +=
                attack * p.level * std::exp(-p.decay * t) * std::sin(2 * kPi * frequency * p.ratio * t);
    }
}

void put16(std::FILE* file, uint16_t value)
{
    std::fputc(value & 0xff, file);
    std::fputc(value >> 8, file);
}

void put32(std::FILE* file, uint32_t value)
{
    put16(file, uint16_t(value & 0xffff));
    put16(file, uint16_t(value >> 16));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_doorbell OUTPUT.wav\n");
        return 2;
    }
    std::vector<double> samples(size_t(kRate * 1.8), 0.0);
    addChime(samples, 0.0, 659.25);  // E5
    addChime(samples, 0.45, 523.25); // C5
    double peak = 0;
    for (double s : samples)
        peak = std::max(peak, std::fabs(s));

    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::fputs("RIFF", file);
    put32(file, 36 + dataBytes);
    std::fputs("WAVEfmt ", file);
    put32(file, 16);
    put16(file, 1); // PCM
    put16(file, 1); // mono
    put32(file, kRate);
    put32(file, kRate * 2);
    put16(file, 2);
    put16(file, 16);
    std::fputs("data", file);
    put32(file, dataBytes);
    for (double s : samples)
        put16(file, uint16_t(int16_t(std::lround(s / peak * 0.7 * 32767))));
    return std::fclose(file) == 0 ? 0 : 1;
}

// Races on purpose, for the test that the ThreadSanitizer build still reports the races of our
// own code with its library filter in place. Two threads, not ordered against each other:
//   race_probe plain     both write a counter of ours
//   race_probe library   both fill one byte array of ours through Qt (two of our threads calling
//                        into a library at once)
// Exits 0 having raced; the checker's own exit status says whether it reported.
#include <QByteArray>

#include <cstring>
#include <thread>

namespace {

int counter = 0;
QByteArray bytes(4096, 'a');

void raceOnCounter()
{
    ++counter;
}

void raceThroughLibrary()
{
    bytes.fill('b');
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    void (*race)() = std::strcmp(argv[1], "plain") == 0 ? raceOnCounter : raceThroughLibrary;
    bytes.detach();
    std::thread first(race);
    std::thread second(race);
    first.join();
    second.join();
    return 0;
}

// tumblecat_peer.exe: a stand-alone peer desktop character for trying the cat by hand.
// Arguments are character names; a name starting with '-' is published hidden, "+stand"
// adds the Stand stand-in. It runs until its console input ends (or 10 minutes pass).
#include <cstdio>

#include "peer/Peer.h"

int main(int argc, char** argv) {
    std::vector<e2e::PeerCharacter> characters;
    bool stand = false;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "+stand") {
            stand = true;
            continue;
        }
        const bool hidden = name[0] == '-';
        if (hidden) name.erase(0, 1);
        characters.push_back({"peer" + std::to_string(i), name, name + "'s partner", !hidden});
    }
    e2e::Peer peer(characters, stand);
    std::printf("publishing %zu characters; end input to stop\n", characters.size());
    std::fflush(stdout);
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    WaitForSingleObject(input, 10 * 60 * 1000);
    for (const auto& data : peer.Received()) {
        std::printf("received %lu at %lu: %s\n", static_cast<unsigned long>(data.kind),
                    static_cast<unsigned long>(data.at), data.text.c_str());
    }
    return 0;
}

// A scripted UCI engine for tests: it answers every search from a table instead of thinking.
//
//   fake-engine TABLE     (or the table's path in TANDEMORA_FAKE_ENGINE_TABLE)
//
// Each line of TABLE is "<FEN prefix> => <reply> ; <reply> ...": a search of a position whose
// FEN starts with the prefix ("*" for any) prints the replies, then its bestmove: at once for
// "go movetime", on "stop" for "go infinite". The first fitting line answers. A reply "crash"
// ends the engine there without a word, as a crashing engine does; "silent" prints nothing
// more for that search, not even its bestmove; "sleep MS" waits before the next reply, as a
// busy engine does (what is sent meanwhile is read afterwards). Lines starting with '#' are
// comments. When TANDEMORA_FAKE_ENGINE_LOG names a file, every line received is appended to it.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Answer {
    std::string prefix;
    std::vector<std::string> replies;
};

std::string trimmed(const std::string& text) {
    const size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string::npos) return {};
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

std::vector<Answer> readTable(const char* path) {
    std::vector<Answer> table;
    std::ifstream in(path ? path : "");
    for (std::string line; std::getline(in, line);) {
        const size_t arrow = line.find("=>");
        if (line.empty() || line[0] == '#' || arrow == std::string::npos) continue;
        Answer answer{trimmed(line.substr(0, arrow)), {}};
        std::string rest = line.substr(arrow + 2);
        for (size_t at = 0; at <= rest.size();) {
            const size_t semicolon = std::min(rest.find(';', at), rest.size());
            if (auto reply = trimmed(rest.substr(at, semicolon - at)); !reply.empty()) answer.replies.push_back(reply);
            at = semicolon + 1;
        }
        table.push_back(std::move(answer));
    }
    return table;
}

const Answer* answerFor(const std::vector<Answer>& table, const std::string& fen) {
    for (const Answer& answer : table)
        if (answer.prefix == "*" || fen.compare(0, answer.prefix.size(), answer.prefix) == 0) return &answer;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<Answer> table = readTable(argc > 1 ? argv[1] : std::getenv("TANDEMORA_FAKE_ENGINE_TABLE"));
    const char* logPath = std::getenv("TANDEMORA_FAKE_ENGINE_LOG");
    std::ofstream log;
    if (logPath) log.open(logPath, std::ios::app);
    std::string fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[] w KQkq - 0 1";
    std::string pendingBestMove;  // the bestmove "stop" prints for a running "go infinite"
    bool searching = false;
    for (std::string line; std::getline(std::cin, line);) {
        if (log.is_open()) log << line << std::endl;
        if (line == "uci") {
            std::cout << "id name Fake engine\n"
                         "option name UCI_Variant type combo default chess var chess var crazyhouse var bughouse\n"
                         "uciok"
                      << std::endl;
        } else if (line == "isready") {
            std::cout << "readyok" << std::endl;
        } else if (line.rfind("position fen ", 0) == 0) {
            fen = line.substr(13);
        } else if (line.rfind("go", 0) == 0) {
            std::string best = "bestmove 0000";
            searching = true;
            if (const Answer* answer = answerFor(table, fen)) {
                for (const std::string& reply : answer->replies) {
                    if (reply == "crash") std::_Exit(3);
                    if (reply.rfind("sleep ", 0) == 0) {
                        std::cout.flush();
                        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(reply.c_str() + 6)));
                        continue;
                    }
                    if (reply == "silent") {
                        best.clear();
                        break;
                    }
                    if (reply.rfind("bestmove", 0) == 0) best = reply;
                    else std::cout << reply << '\n';
                }
            }
            std::cout.flush();
            if (line.find("infinite") == std::string::npos) {
                if (!best.empty()) std::cout << best << std::endl;
                searching = false;
            } else {
                pendingBestMove = best;
            }
        } else if (line == "stop") {
            if (searching && !pendingBestMove.empty()) std::cout << pendingBestMove << std::endl;
            searching = false;
        } else if (line == "quit") {
            return 0;
        }
    }
    return 0;
}

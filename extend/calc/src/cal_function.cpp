// CAL against the host's SDK: the resource bracket around the call, the
// command-line prompt and output, and the LISP return value.
#include "calc/cal_function.h"

#include <vector>

#include "calc/cal_core.h"
#include "frame/command_environment.h"
#include "tarnsdk/tcedinput.h"
#include "tarnsdk/tcrxapi.h"

namespace tarn::calc {
namespace {

class SdkCalHost final : public CalHost {
public:
    std::string LoadText(std::uint32_t id) override { return frame::LoadResString(id); }

    int GetString(const std::string& prompt, std::string& reply) override {
        std::vector<char> buffer(kCalInputSize, '\0');
        const int status = tcedGetString(1, prompt.c_str(), buffer.data(), buffer.size());
        if (status == RTNORM) reply.assign(buffer.data());
        return status;
    }

    void Print(const std::string& text) override { tcutPrintf("%s", text.c_str()); }
    void TextScreen() override { tcedTextScr(); }

    // The buffer goes back alone, never the rest of a chain it came in.
    void ReturnValue(const resbuf& value) override {
        resbuf single = value;
        single.rbnext = nullptr;
        tcedRetVal(&single);
    }

    void ReturnInt(int value) override { tcedRetInt(value); }
    void ReturnReal(double value) override { tcedRetReal(value); }
    void ReturnNil() override { tcedRetNil(); }
    void ReturnVoid() override { tcedRetVoid(); }
};

}  // namespace

int CalFunction(struct resbuf* args) {
    const frame::ResourceScope resources;
    SdkCalHost host;
    return RunCal(args, host);
}

}  // namespace tarn::calc

// libFuzzer entry for the ZIP reader: detect, open (self-extracting programs
// included), list, and extract every member. Encrypted members are offered
// the password the seed archives in corpus/fuzz_zip/enc_*.zip were made with,
// so the decryption path is reached and mutated past its password checks.
#include "fuzz_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    arc::GivenPassword password("fuzz");
    return fuzzing::RunArchive(data, size, arc::looksLikeZip, arc::openZip, &password);
}

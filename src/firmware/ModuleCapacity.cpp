#include "firmware/ModuleCapacity.h"

#include "common/LeadingNumber.h"
#include "storage/FichIni.h"
#include "storage/SequenceLayout.h"

int16_t storedCharacterCount(const std::string& workingDir) {
    return roundToInt16(leadingNumber(LireIni(std::string(kSequenceSection), std::string(kCountKey),
                                              workingSequencePath(workingDir))));
}

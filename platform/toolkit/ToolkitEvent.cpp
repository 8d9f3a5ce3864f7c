#include "toolkit/ToolkitEvent.h"

#include <algorithm>
#include <cstring>

void OpaqueEventRef::Set(EventParamName name, EventParamType type, ByteCount size,
                         const void* data) {
  const UInt8* bytes = static_cast<const UInt8*>(data);
  mParameters[name] = {type, std::vector<UInt8>(bytes, bytes + size)};
}

OSStatus OpaqueEventRef::Get(EventParamName name, EventParamType desiredType,
                             EventParamType* outActualType, ByteCount bufferSize,
                             ByteCount* outActualSize, void* outData) const {
  auto found = mParameters.find(name);
  if (found == mParameters.end()) return eventParameterNotFoundErr;
  const Parameter& parameter = found->second;
  if (desiredType != typeWildCard && desiredType != parameter.type) return errAECoercionFail;
  if (outActualType) *outActualType = parameter.type;
  if (outActualSize) *outActualSize = ByteCount(parameter.bytes.size());
  if (outData)
    std::memcpy(outData, parameter.bytes.data(),
                std::min<size_t>(bufferSize, parameter.bytes.size()));
  return noErr;
}

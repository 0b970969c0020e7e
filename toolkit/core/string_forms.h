#pragma once
// The string-form conversions of the Toolbox. The toolkit passes zero-terminated strings everywhere,
// so both give back their argument as it is.

inline char* c2pstr(char* aStr) {
    return aStr;
}
inline char* p2cstr(char* aStr) {
    return aStr;
}
inline unsigned char* c2pstr(unsigned char* aStr) {
    return aStr;
}
inline unsigned char* p2cstr(unsigned char* aStr) {
    return aStr;
}

// A stand-in for a driver that offers bulk copy as functions: it exports the ODBC entry
// and bcp_initW, as Microsoft's driver does. Only its exports are looked at.
extern "C" {
__attribute__((visibility("default"))) short SQLSetConnectAttrW(void*, int, void*, int) {
    return -1;
}
__attribute__((visibility("default"))) short bcp_initW(void*, const void*, const void*, const void*,
                                                       int) {
    return 0;
}
}

// A function in a shared object of its own, where the module tests anchor a descriptor the way a
// library compiled with resources anchors its own. The layer itself is linked into the tests as
// objects, so it is no shared object to anchor in.
extern "C" __attribute__((visibility("default"))) int winplatModuleTestAnchor() {
    return 1;
}

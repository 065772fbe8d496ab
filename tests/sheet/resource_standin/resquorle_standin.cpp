// An empty library under the resource library's name, built only while the
// real one has no target in this tree, so that EditOptions finds a library
// to load. The string table then comes from the plug-in itself.
extern "C" __attribute__((visibility("default"))) int QuorleResourceStandIn() {
    return 1;
}

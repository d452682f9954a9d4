// Linked without address-space randomisation or DEP, and without Tolvane's start-up or
// manifest: what check-pe must refuse.
int main() {
    return 0;
}

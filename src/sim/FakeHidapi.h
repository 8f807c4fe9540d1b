#pragma once

namespace sim {
class VirtualHidBackend;
}

// A stand-in for the hidapi library in tests: the library kestrel_fake_hidapi defines hid_init,
// hid_exit, hid_enumerate, hid_free_enumeration, hid_open_path, hid_close, hid_write,
// hid_read_timeout, hid_get_product_string and hid_error with hidapi's own signatures, answering
// from the virtual mice of a VirtualHidBackend, so the code that calls hidapi runs unchanged.
// Link it into a test program instead of the real library; never into the programs.

// The backend the functions answer from; nullptr (the start) makes enumeration empty and every
// open fail. The backend must outlive the handles opened from it.
void SetFakeHidapiBackend(sim::VirtualHidBackend* backend);

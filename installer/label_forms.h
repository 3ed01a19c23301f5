#pragma once

// Adds the 59 label forms through the queue "VarnekPrinter". A form that
// cannot be added (one that exists already) is skipped. The number of forms
// added; -1 when the queue cannot be opened.
int AddLabelForms();

#pragma once

// Adds the 59 label forms through the queue "VarnekPrinter". A form that
// cannot be added (one that exists already) is skipped.
void AddLabelForms();

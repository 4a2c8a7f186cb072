#pragma once

// Customer and sample data timings: searching and paging 100,000 customers, and one sample data run (a
// year of orders in one transaction), each on a fresh home of its own.
namespace qm::bench {

void benchCustomers();
void benchSampleData();

} // namespace qm::bench

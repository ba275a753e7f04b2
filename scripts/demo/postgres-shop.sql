CREATE TABLE suppliers(id int4, name text, country varchar(40), rating numeric(3,1), active bool, since date);
INSERT INTO suppliers VALUES
  (1, 'Kaffeerösterei Nord', 'Germany', 4.5, true, '2015-04-01'),
  (2, 'Ελληνικά Προϊόντα', 'Greece', 3.9, true, '2018-09-15'),
  (3, '云南咖啡', 'China', NULL, false, NULL),
  (4, 'C:\imports\ltd', 'UK', 4.0, true, '2021-02-28');
CREATE TABLE stock(product_id int8, warehouse text, qty int2, updated timestamp);
INSERT INTO stock VALUES
  (10, 'Hamburg', 12, '2024-01-05 08:30:00'),
  (11, 'Hamburg', 240, '2024-01-05 08:31:12.5'),
  (12, 'Athens', 0, NULL);
